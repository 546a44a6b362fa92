#include "sim_accounts.h"

#include <algorithm>
#include <cctype>

#include "builtin_replies.h"
#include "sim_text.h"

namespace platformsim {

namespace {

// "/ZC/username=...": everything after the endpoint word's slash.
std::string QueryOf(const std::string& word, const std::string& target) {
    const std::string prefix = "/" + word + "/";
    return target.compare(0, prefix.size(), prefix) == 0 ? target.substr(prefix.size())
                                                         : std::string();
}

bool SameUserName(const std::string& a, const std::string& b) {
    return a.size() == b.size() && std::equal(a.begin(), a.end(), b.begin(), [](char x, char y) {
               return std::tolower(static_cast<unsigned char>(x)) ==
                      std::tolower(static_cast<unsigned char>(y));
           });
}

std::string Register(std::vector<Account>& accounts, const std::string& query) {
    const std::string userName = DecodedValue(query, "username");
    const std::string password = DecodedValue(query, "password");
    if (userName.empty() || password.empty()) {
        return Gbk("用户名或密码不能为空");
    }
    if (password != DecodedValue(query, "password1")) {
        return Gbk("两次输入的密码不一致");
    }
    for (const Account& a : accounts) {
        if (SameUserName(a.userName, userName)) {
            return Gbk("用户名已存在");
        }
    }
    Account a;
    a.userName = userName;
    a.password = password;
    a.balance = "0.00";
    a.withdrawable = "0.00";
    a.field2 = std::to_string(20260100 + accounts.size());
    a.field3 = "0";
    a.securityQuestion = DecodedValue(query, "problem");
    a.securityAnswer = DecodedValue(query, "Answer");
    a.contactQq = DecodedValue(query, "QQ");
    a.legalName = DecodedValue(query, "Fullname");
    a.alipayAccount = DecodedValue(query, "account");
    a.announcement = Gbk("欢迎新用户！");
    a.serviceQq = "800012345";
    a.kind = Gbk("用户");
    accounts.push_back(a);
    return Gbk("注册成功");
}

}  // namespace

bool IsAccountChangeEndpoint(const std::string& word) {
    return word == "ZC" || word == "xg_mm" || word == "xg_aq" || word == "xg_zl";
}

std::string DecodedValue(const std::string& query, const std::string& key) {
    std::string bytes = PercentDecode(QueryValue(query, key));
    std::string gbk;
    return TryUtf8ToGbk(bytes, gbk) ? gbk : bytes;
}

Account* FindAccount(std::vector<Account>& accounts, const std::string& userName,
                     const std::string& password) {
    for (Account& a : accounts) {
        if (SameUserName(a.userName, userName) && a.password == password) {
            return &a;
        }
    }
    return nullptr;
}

std::string AccountChangeReply(std::vector<Account>& accounts, const std::string& word,
                               const std::string& target) {
    const std::string query = QueryOf(word, target);
    if (word == "ZC") {
        return Register(accounts, query);
    }
    Account* account =
        FindAccount(accounts, DecodedValue(query, "username"), DecodedValue(query, "password"));
    if (account == nullptr) {
        return Gbk("用户名或密码错误");
    }
    if (DecodedValue(query, "w") != account->securityAnswer) {
        return Gbk("安全答案错误");
    }
    if (word == "xg_mm") {
        const std::string newPassword = DecodedValue(query, "p");
        if (newPassword.size() < 6) {
            return Gbk("新密码格式错误");
        }
        account->password = newPassword;
        return Gbk("密码修改成功");
    }
    if (word == "xg_aq") {
        const std::string answer = DecodedValue(query, "w1");
        if (answer.empty()) {
            return Gbk("新的安全答案不能为空");
        }
        account->securityQuestion = DecodedValue(query, "xt");
        account->securityAnswer = answer;
        return Gbk("安全信息修改成功");
    }
    account->contactQq = DecodedValue(query, "q");
    account->legalName = DecodedValue(query, "z");
    account->alipayAccount = DecodedValue(query, "f");
    return Gbk("资料修改成功");
}

}  // namespace platformsim
