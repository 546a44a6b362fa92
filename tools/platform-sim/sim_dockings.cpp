#include "sim_dockings.h"

#include <algorithm>
#include <cctype>

#include "sim_accounts.h"
#include "sim_text.h"

namespace platformsim {

namespace {

const std::string kRecordSeparator = "#c+";
const std::string kFieldSeparator = "#c-";

std::string Lower(std::string text) {
    std::transform(text.begin(), text.end(), text.begin(),
                   [](unsigned char c) { return static_cast<char>(std::tolower(c)); });
    return text;
}

std::string Fields(const std::vector<std::string>& fields) {
    std::string record;
    for (size_t i = 0; i < fields.size(); ++i) {
        record += (i == 0 ? "" : kFieldSeparator) + fields[i];
    }
    return record;
}

}  // namespace

DockingBook::DockingBook() {
    published_ = {
        {"ZS2026A0001QX", Gbk("腾讯QQ"), "0.80", "km1001", "326", "1001"},
        {"ZS2026A0002WX", Gbk("微信"), "1.20", "km1002", "158", "1002"},
        {"ZS2026A0003TB", Gbk("淘宝"), "0.60", "km1003", "89", "1003"},
        {"ZS2026A0004DY", Gbk("抖音"), "0.90", "km1004", "412", "1004"},
        {"ZS2026A0005AL", Gbk("阿里云通知(发送号码:10690)"), "0.50", "km1005", "37", "2001"},
        {"ZS2026A0006JD", Gbk("京东商城"), "0.70", "km1006", "120", "1006"},
    };
    unpublished_ = {
        {"ZS2026P0100MT", Gbk("美团"), "0.65", "km1007", "64", "1007"},
        {"ZS2026P0101PD", Gbk("拼多多(发送号码:10655)"), "0.55", "km1008", "25", "2002"},
    };
    own_["demo2026"] = {
        {{"ZS2025B0901KS", Gbk("快手"), "0.75", "km0901", "210", "1009"}, Gbk("正常")},
        {{"ZS2025B0902BL", Gbk("哔哩哔哩"), "0.85", "km0902", "56", "1010"}, Gbk("暂停")},
        {{"ZS2025B0903XC", Gbk("携程旅行(发送号码:1069088)"), "0.40", "km0903", "18", "2003"},
         Gbk("正常")},
    };
}

bool DockingBook::Handles(const std::string& word) {
    return word == "yh_zs_lb" || word == "yh_zs_gk_lb" || word == "yh_zs_jr" ||
           word == "yh_zs_fhzt" || word == "yh_zs_sc";
}

std::string DockingBook::OwnRecord(const SimDocking& d, const std::string& status) {
    return Fields({status, d.code, d.projectName, d.price, d.merchant, d.cardCount, d.projectId,
                   "2026-01-01", "-"});
}

std::string DockingBook::PublicRecord(const SimDocking& d) {
    // The public list leads with the card supply count where the own list has the status.
    return Fields({d.cardCount, d.code, d.projectName, d.price, d.merchant, d.cardCount,
                   d.projectId, "2026-01-01", "-"});
}

const SimDocking* DockingBook::Known(const std::string& code) const {
    for (const std::vector<SimDocking>* list : {&published_, &unpublished_}) {
        for (const SimDocking& d : *list) {
            if (d.code == code) {
                return &d;
            }
        }
    }
    return nullptr;
}

std::vector<DockingBook::Owned>& DockingBook::ListOf(const std::string& userName) {
    return own_[Lower(userName)];
}

std::string DockingBook::Reply(std::vector<Account>& accounts, const std::string& word,
                               const std::string& target) {
    const std::string prefix = "/" + word + "/";
    const std::string query =
        target.compare(0, prefix.size(), prefix) == 0 ? target.substr(prefix.size()) : "";
    const Account* account =
        FindAccount(accounts, DecodedValue(query, "username"), DecodedValue(query, "password"));
    if (account == nullptr) {
        return Gbk("用户名或密码错误");
    }
    std::vector<Owned>& own = ListOf(account->userName);
    if (word == "yh_zs_lb") {
        std::string reply;
        for (const Owned& o : own) {
            reply += OwnRecord(o.docking, o.status) + kRecordSeparator;
        }
        return reply;
    }
    if (word == "yh_zs_gk_lb") {
        std::string reply;
        for (const SimDocking& d : published_) {
            reply += PublicRecord(d) + kRecordSeparator;
        }
        return reply;
    }
    const std::string code = DecodedValue(query, "d");
    auto owned = std::find_if(own.begin(), own.end(),
                              [&code](const Owned& o) { return o.docking.code == code; });
    if (word == "yh_zs_jr") {
        if (owned != own.end()) {
            return Gbk("您已加入该对接");
        }
        const SimDocking* known = Known(code);
        if (known == nullptr) {
            return Gbk("对接码不存在");
        }
        own.push_back({*known, Gbk("正常")});
        return Gbk("加入对接成功");
    }
    if (owned == own.end()) {
        return Gbk("对接不存在");
    }
    if (word == "yh_zs_fhzt") {
        const bool paused = owned->status == Gbk("暂停");
        owned->status = Gbk(paused ? "正常" : "暂停");
        return Gbk(paused ? "恢复对接成功" : "暂停对接成功");
    }
    own.erase(owned);
    return Gbk("删除对接成功");
}

}  // namespace platformsim
