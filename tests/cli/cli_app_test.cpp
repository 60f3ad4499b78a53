#include "cli/cli_app.h"

#include <gtest/gtest.h>

#include <sstream>

#include "support/fake_services.h"

namespace cindral::cli {
namespace {

// A dispatcher with two commands that record what they were given.
class CliAppTest : public ::testing::Test {
protected:
    CliAppTest()
        : app_([this](const platform::NativeOptions& options) {
              ++platformsCreated_;
              registryFile_ = options.registryFile;
              return failPlatform_ ? nullptr : std::make_unique<test::FakeNativePlatform>();
          }) {
        auto record = [this](CommandContext& ctx) {
            ranWith_ = ctx.args.positional();
            sawPlatform_ = ctx.platform != nullptr;
            for (const auto& w : ranWith_) ctx.out << w << ctx.args.value("--sep");
            return 7;
        };
        const std::vector<OptionDef> options = {{"--upper", "", "in capitals"},
                                                {"--sep", "TEXT", "separator"}};
        app_.addCommand({"echo", "[WORD...]", "print the words", options, true, record});
        app_.addCommand({"quiet", "", "needs no system services", {}, false, record});
    }

    int run(const std::vector<std::string>& args) {
        out_.str("");
        err_.str("");
        return app_.run(args, out_, err_);
    }

    CliApp app_;
    std::ostringstream out_, err_;
    int platformsCreated_ = 0;
    bool failPlatform_ = false;
    std::string registryFile_ = "unset";
    std::vector<std::string> ranWith_;
    bool sawPlatform_ = false;
};

TEST_F(CliAppTest, OptionsStandAnywhereAndDoubleDashEndsThem) {
    EXPECT_EQ(run({"echo"}), 7);
    EXPECT_EQ(registryFile_, "");  // the backend chooses its default
    EXPECT_TRUE(sawPlatform_);
    EXPECT_EQ(run({"--registry", "/tmp/a.reg", "echo", "x"}), 7);
    EXPECT_EQ(registryFile_, "/tmp/a.reg");
    EXPECT_EQ(run({"echo", "--registry=/tmp/c d.reg", "x"}), 7);
    EXPECT_EQ(registryFile_, "/tmp/c d.reg");
    EXPECT_EQ(run({"--sep", ",", "echo", "a", "--upper", "b"}), 7);
    EXPECT_EQ(out_.str(), "a,b,");
    EXPECT_EQ(run({"echo", "--", "--upper", "-x"}), 7);
    EXPECT_EQ(ranWith_, (std::vector<std::string>{"--upper", "-x"}));
    EXPECT_EQ(run({"echo", "-"}), 7);
    EXPECT_EQ(ranWith_, std::vector<std::string>{"-"});
}

TEST_F(CliAppTest, UsageErrorsExitWithTwoAndOnlyACommandThatNeedsItSetsUpThePlatform) {
    const std::vector<std::pair<std::vector<std::string>, std::string>> cases = {
        {{}, "no command given"},
        {{"frobnicate"}, "unknown command 'frobnicate'"},
        {{"echo", "--bogus"}, "unknown option '--bogus'"},
        {{"quiet", "--upper"}, "unknown option '--upper'"},  // another command's option
        // An empty path (an unset variable) must not stand for the default one.
        {{"--registry", "", "echo"}, "option '--registry' needs a value (FILE)"},
        {{"echo", "--registry="}, "option '--registry' needs a value (FILE)"},
        {{"echo", "--version=1"}, "option '--version' takes no value"},
    };
    for (const auto& [args, message] : cases) {
        EXPECT_EQ(run(args), 2) << message;  // the documented usage-error code
        EXPECT_EQ(err_.str().rfind("cindral-cli: " + message + "\n", 0), 0u) << err_.str();
        EXPECT_EQ(out_.str(), "") << message;
    }
    // Neither those, nor the version, the help or a platform-free command
    // set up the platform.
    EXPECT_EQ(run({"--version"}), kExitOk);
    EXPECT_EQ(out_.str(), "Cindral 3.0\n");
    EXPECT_EQ(run({"--help"}), kExitOk);
    EXPECT_NE(out_.str().find("  echo   print the words"), std::string::npos);
    EXPECT_EQ(run({"echo", "--help"}), kExitOk);
    EXPECT_NE(out_.str().find("cindral-cli [OPTIONS] echo [WORD...]"), std::string::npos);
    EXPECT_TRUE(ranWith_.empty());
    EXPECT_EQ(run({"quiet", "x"}), 7);
    EXPECT_FALSE(sawPlatform_);
    EXPECT_EQ(platformsCreated_, 0);
}

TEST_F(CliAppTest, FailedSetUpAThrowingCommandOrOutputNotWrittenExitsWithOne) {
    failPlatform_ = true;
    EXPECT_EQ(run({"echo", "x"}), 1);  // the documented failure code
    EXPECT_FALSE(err_.str().empty());
    EXPECT_TRUE(ranWith_.empty());

    app_.addCommand({"boom", "", "", {}, false, [](CommandContext&) -> int {
                         throw std::runtime_error("store file damaged");
                     }});
    EXPECT_EQ(run({"boom"}), kExitFailure);
    EXPECT_EQ(err_.str(), "cindral-cli: store file damaged\n");

    // A write that failed (a full disk behind a redirection) leaves the
    // stream bad; the command itself saw nothing wrong.
    app_.addCommand({"report", "", "", {}, false, [](CommandContext& ctx) {
                         ctx.out.setstate(std::ios::badbit);
                         return kExitOk;
                     }});
    EXPECT_EQ(run({"report"}), kExitFailure);
    EXPECT_EQ(err_.str(), "cindral-cli: the output could not be written\n");
}

}  // namespace
}  // namespace cindral::cli
