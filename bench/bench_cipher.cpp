// Packet cipher throughput on 8 KiB bodies against the openssl command line's
// Blowfish ECB at 8192-byte blocks, measured in the same run.
//
//   bench_cipher [seconds per measurement, default 1]
#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <ctime>
#include <sstream>
#include <string>
#include <vector>

#include "core/net/packet_cipher.h"

namespace {

// MB/s (10^6 bytes) of enciphering 8 KiB bodies in place for about `seconds`
// of processor time. openssl speed divides by processor (user) time too, so
// both figures hold up on a machine that other work is also using.
double ourRate(double seconds) {
  std::vector<std::uint8_t> body(8192);
  for (std::size_t i = 0; i < body.size(); ++i) body[i] = static_cast<std::uint8_t>(i * 31);
  const pom::PacketCipher& cipher = pom::PacketCipher::instance();
  std::size_t bytes = 0;
  const std::clock_t start = std::clock();
  double elapsed = 0;
  do {
    for (int i = 0; i < 64; ++i) cipher.encipherBody(body.data(), body.size());
    bytes += 64 * body.size();
    elapsed = static_cast<double>(std::clock() - start) / CLOCKS_PER_SEC;
  } while (elapsed < seconds);
  volatile std::uint8_t sink = body[0];  // keep the work observable
  (void)sink;
  return bytes / elapsed / 1e6;
}

// MB/s from `openssl speed -mr`, column 8192; negative when unavailable.
double opensslRate(int seconds) {
  const std::string command = "openssl speed -provider legacy -provider default -mr -seconds " +
                              std::to_string(seconds) + " -bytes 8192 -evp bf-ecb 2>/dev/null";
  FILE* pipe = ::popen(command.c_str(), "r");
  if (pipe == nullptr) return -1;
  std::string output;
  char buffer[512];
  while (std::fgets(buffer, sizeof buffer, pipe) != nullptr) output += buffer;
  ::pclose(pipe);

  // "+H:<size>:<size>..." names the columns, "+F:<n>:<name>:<bytes/s>..." has them.
  std::vector<std::string> sizes, rates;
  std::istringstream lines(output);
  for (std::string line; std::getline(lines, line);) {
    std::vector<std::string> fields;
    std::istringstream parts(line);
    for (std::string field; std::getline(parts, field, ':');) fields.push_back(field);
    if (!fields.empty() && fields[0] == "+H") sizes.assign(fields.begin() + 1, fields.end());
    if (fields.size() > 3 && fields[0] == "+F") rates.assign(fields.begin() + 3, fields.end());
  }
  for (std::size_t i = 0; i < sizes.size() && i < rates.size(); ++i) {
    if (sizes[i] == "8192") return std::atof(rates[i].c_str()) / 1e6;
  }
  return -1;
}

}  // namespace

int main(int argc, char** argv) {
  const int seconds = argc > 1 ? std::max(1, std::atoi(argv[1])) : 1;
  // Ours before and after the baseline, so drift on a shared machine evens out.
  const double oursBefore = ourRate(seconds);
  const double theirs = opensslRate(seconds);
  const double oursAfter = ourRate(seconds);
  const double ours = (oursBefore + oursAfter) / 2;
  std::printf("cipher 8 KiB bodies: ours %.1f MB/s (%.1f, %.1f)\n", ours, oursBefore, oursAfter);
  if (theirs <= 0) {
    std::printf("cipher baseline: openssl speed unavailable, no ratio\n");
    return 0;
  }
  std::printf("cipher baseline: openssl bf-ecb 8192 %.1f MB/s\n", theirs);
  std::printf("cipher ratio ours/openssl: %.2f\n", ours / theirs);
  return 0;
}
