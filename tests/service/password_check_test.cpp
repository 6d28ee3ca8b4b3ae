// What the password check remembers, with a verification that counts its calls and a clock the
// test moves: a hash is verified once per account and then only when what was verified no longer
// holds.
#include "service/password_check.h"

#include <gtest/gtest.h>

namespace velmora::service {
namespace {

using namespace std::chrono_literals;

class PasswordCheckTest : public ::testing::Test {
 protected:
  PasswordCheck check(RememberedCredentials bounds = {.entries = 3, .age = 10min}) {
    return PasswordCheck(
        bounds, [this] { return now; },
        [this](const std::string& hash, std::string_view password) {
          ++verified;
          return hash == "hash of " + std::string(password);
        });
  }

  // Whether the check took the password, and whether it verified a hash to decide.
  std::pair<bool, bool> ask(PasswordCheck& passwords, const std::string& name,
                            std::string_view password, std::optional<std::string> hash) {
    const int before = verified;
    const bool matched = passwords.matches(name, password, hash);
    return {matched, verified > before};
  }

  std::chrono::steady_clock::time_point now{};
  int verified = 0;
};

constexpr std::pair<bool, bool> kVerifiedRight{true, true};
constexpr std::pair<bool, bool> kRemembered{true, false};
constexpr std::pair<bool, bool> kVerifiedWrong{false, true};

TEST_F(PasswordCheckTest, AnAccountsHashIsVerifiedOnceUntilWhatWasVerifiedChanges) {
  PasswordCheck passwords = check();
  EXPECT_EQ(ask(passwords, "demo", "pw", "hash of pw"), kVerifiedRight);
  EXPECT_EQ(ask(passwords, "demo", "pw", "hash of pw"), kRemembered);
  // A wrong password is verified every time and leaves the right one remembered.
  EXPECT_EQ(ask(passwords, "demo", "px", "hash of pw"), kVerifiedWrong);
  EXPECT_EQ(ask(passwords, "demo", "px", "hash of pw"), kVerifiedWrong);
  EXPECT_EQ(ask(passwords, "demo", "pw", "hash of pw"), kRemembered);
  // What was verified for one name proves nothing for another.
  EXPECT_EQ(ask(passwords, "demo2", "pw", "hash of pw"), kVerifiedRight);
  // A new stored hash (the password changed) is verified again, however recent the last check.
  EXPECT_EQ(ask(passwords, "demo", "pw", "hash of new"), kVerifiedWrong);
  EXPECT_EQ(ask(passwords, "demo", "new", "hash of new"), kVerifiedRight);
  passwords.forget("demo");
  EXPECT_EQ(ask(passwords, "demo", "new", "hash of new"), kVerifiedRight);
}

// An unknown name costs a verification like a wrong password, and is never remembered.
TEST_F(PasswordCheckTest, UnknownNamesAreVerifiedAgainstAFixedHash) {
  PasswordCheck passwords = check();
  for (int i = 0; i < 2; ++i)
    EXPECT_EQ(ask(passwords, "nobody", "pw", std::nullopt), kVerifiedWrong);
}

TEST_F(PasswordCheckTest, WhatIsRememberedIsBoundedInAgeAndNumber) {
  PasswordCheck passwords = check();
  EXPECT_EQ(ask(passwords, "a", "pw", "hash of pw"), kVerifiedRight);
  now += 10min - 1ms;
  EXPECT_EQ(ask(passwords, "a", "pw", "hash of pw"), kRemembered);
  now += 1ms;
  EXPECT_EQ(ask(passwords, "a", "pw", "hash of pw"), kVerifiedRight);

  // Three at most: a fourth account pushes out the one verified longest ago.
  for (const char* name : {"b", "c", "d"}) {
    now += 1s;
    EXPECT_EQ(ask(passwords, name, "pw", "hash of pw"), kVerifiedRight) << name;
  }
  EXPECT_EQ(ask(passwords, "a", "pw", "hash of pw"), kVerifiedRight);
  EXPECT_EQ(ask(passwords, "c", "pw", "hash of pw"), kRemembered);
  EXPECT_EQ(ask(passwords, "d", "pw", "hash of pw"), kRemembered);
  EXPECT_EQ(ask(passwords, "b", "pw", "hash of pw"), kVerifiedRight);
}

}  // namespace
}  // namespace velmora::service
