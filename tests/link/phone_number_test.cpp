#include "link/phone_number.h"
#include "scripted_phone.h"

#include <gtest/gtest.h>

namespace tarvo {
namespace {

struct PhoneNumber : test::Rig {
    bool Run() { return RunPhoneNumber(context, kPhoneNumberCommand); }
    int Attempts() const {
        std::string text = phone.WrittenText();
        int count = 0;
        for (size_t at = text.find("network restart 1\n"); at != std::string::npos;
             at = text.find("network restart 1\n", at + 1))
            ++count;
        return count;
    }
};

TEST(PhoneNumberExchange, SucceedsOnTheFirstPositiveResult) {
    PhoneNumber p;
    p.phone.Say("hello\nresult command 0\n");
    EXPECT_TRUE(p.Run());
    EXPECT_EQ(p.phone.WrittenText(), "\ninit 1 1\nnetwork restart 1\n");
    EXPECT_EQ(p.phone.purges, 1);
    EXPECT_EQ(p.observer.events, (std::vector<std::string>{"status 107", "done 1"}));
}

TEST(PhoneNumberExchange, AsksFiveTimesThenReportsNoResponse) {
    PhoneNumber p;
    for (int i = 0; i < 5; ++i) p.phone.Say("result command 1\n");
    EXPECT_FALSE(p.Run());
    EXPECT_EQ(p.Attempts(), 5);
    EXPECT_EQ(p.observer.events, (std::vector<std::string>{"status 120", "done 0"}));
}

TEST(PhoneNumberExchange, ASilentPhoneTakesThreeSecondsPerAttempt) {
    PhoneNumber p;
    EXPECT_FALSE(p.Run());
    EXPECT_EQ(p.Attempts(), 5);
    EXPECT_EQ(p.clock.now, 5 * 3000 + 2000);
}

TEST(PhoneNumberExchange, SucceedsOnALaterAttempt) {
    PhoneNumber p;
    p.phone.Say("result command 1\n").Silence(3).Say("result command 0\n");
    EXPECT_TRUE(p.Run());
    EXPECT_EQ(p.Attempts(), 3);
}

TEST(PhoneNumberExchange, CancelStopsWithoutStatusOrDone) {
    PhoneNumber p;
    p.phone.Silence().Then([&] { p.cancel = true; }).Silence(20);
    EXPECT_FALSE(p.Run());
    EXPECT_EQ(p.Attempts(), 1);
    EXPECT_TRUE(p.observer.events.empty());
}

}  // namespace
}  // namespace tarvo
