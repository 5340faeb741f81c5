#include <cstdio>
int wmain() { std::puts("bastion-scan"); return 0; }
