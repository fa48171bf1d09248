#include <cstdio>

int main() {
    std::puts("allotrix: nothing to do yet");
    return 0;
}
