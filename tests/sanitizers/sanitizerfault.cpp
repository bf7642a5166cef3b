// A program with one deliberate fault, picked by its argument, for
// tst_sanitizerlogs: what the sanitizers report of a program a test starts.
// The operands come from the command line so that no compiler folds the
// fault away.
#include <climits>
#include <cstdio>
#include <cstdlib>
#include <cstring>

namespace {

int overflowed(int by) { return INT_MAX - 1 + by; }

int shifted(int by) { return 1 << by; }

int readPast(int index) {
    int *numbers = new int[4]();
    const int value = numbers[index];
    delete[] numbers;
    return value;
}

} // namespace

int main(int argc, char **argv) {
    if (argc != 3)
        return 2;
    const int operand = std::atoi(argv[2]);
    int result = 0;
    if (std::strcmp(argv[1], "signed-overflow") == 0)
        result = overflowed(operand);
    else if (std::strcmp(argv[1], "shift") == 0)
        result = shifted(operand);
    else if (std::strcmp(argv[1], "heap-overflow") == 0)
        result = readPast(operand);
    else
        return 2;
    std::printf("%d\n", result);
    return 0;
}
