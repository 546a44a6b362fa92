#pragma once

// The account endpoints beside `sign`: registration (`ZC`) and the changes of
// password, security question and personal data. They work on the same account
// list that `sign` reads, so a new account can log in and a change shows in the
// next sign.

#include <string>
#include <vector>

#include "platform_sim.h"

namespace platformsim {

// True for "ZC", "xg_mm", "xg_aq" and "xg_zl".
bool IsAccountChangeEndpoint(const std::string& word);

// The reply (GBK) to one of those requests; `accounts` is changed on success.
std::string AccountChangeReply(std::vector<Account>& accounts, const std::string& word,
                               const std::string& target);

// A query value of the target decoded to GBK (escaped UTF-8 arrives from the client).
std::string DecodedValue(const std::string& query, const std::string& key);

// The account with this user name and password, or nullptr.
Account* FindAccount(std::vector<Account>& accounts, const std::string& userName,
                     const std::string& password);

}  // namespace platformsim
