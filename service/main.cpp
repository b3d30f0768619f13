// pomservice: the local stand-in of the online service (being assembled).
int main() {
  return 0;
}
