#include "EntryPoint.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace {

bool found(std::vector<std::string> args, const char* option) {
    std::vector<char*> argv;
    for (auto& a : args) {
        argv.push_back(a.data());
    }
    return hasOption(static_cast<int>(argv.size()), argv.data(), option);
}

} // namespace

TEST(EntryPointTest, OptionsMatchWholeArgumentsExactly) {
    EXPECT_TRUE(found({"veltmark", "--xboard"}, "--xboard"));
    EXPECT_TRUE(found({"veltmark", "x", "--log", "--xboard", "--log"}, "--log"));
    EXPECT_FALSE(found({"veltmark", "--XBoard"}, "--xboard"));
    EXPECT_FALSE(found({"veltmark", "--xboard=1"}, "--xboard"));
    EXPECT_FALSE(found({"veltmark", "-xboard"}, "--xboard"));
    EXPECT_FALSE(found({"veltmark", "--xboar"}, "--xboard"));
    EXPECT_FALSE(found({"veltmark"}, "--log"));
    // The program name takes part.
    EXPECT_TRUE(found({"--xboard"}, "--xboard"));
}
