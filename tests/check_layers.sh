#!/usr/bin/env bash
# The core must stay portable: no Windows or POSIX headers anywhere under src/core.
set -u
core=${1:?usage: check_layers.sh SRC_CORE_DIR}
bad=$(grep -rnE '^\s*#\s*include\s*[<"](windows\.h|winsock2?\.h|ws2tcpip\.h|wininet\.h|shlobj\.h|commctrl\.h|unistd\.h|sys/[a-z_]+\.h|netinet/[a-z_]+\.h|arpa/inet\.h|netdb\.h|poll\.h|fcntl\.h|pthread\.h|dirent\.h|iconv\.h|dlfcn\.h)[>"]' "$core")
if [ -n "$bad" ]; then
  echo "platform headers in the core:"
  echo "$bad"
  exit 1
fi
echo "core is free of platform headers"
