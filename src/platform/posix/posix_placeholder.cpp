// Placeholder until the POSIX backend lands.
