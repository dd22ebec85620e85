#include <gtest/gtest.h>

#include <clocale>

int main(int argc, char** argv) {
    // Take the locale from the environment, so a run under a comma-decimal locale
    // really formats numbers that way wherever the code would let it.
    std::setlocale(LC_ALL, "");
    ::testing::InitGoogleTest(&argc, argv);
    return RUN_ALL_TESTS();
}
