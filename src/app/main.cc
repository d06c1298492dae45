#include <cstdio>

// The interactive program is not assembled yet: the screens and the program
// flow are still being built. Say so rather than pretend.
int main() {
  std::puts("corvane: the interactive program is not there yet; only the libraries and tests are.");
  return 1;
}
