#include "builtin_replies.h"

#include <algorithm>
#include <array>
#include <cctype>

#include "sim_text.h"
#include "zip_builder.h"

namespace platformsim {

namespace {

// Values in the URL arrive as percent-escaped UTF-8; the accounts hold GBK.
std::string DecodeValue(const std::string& escaped) {
    std::string bytes = PercentDecode(escaped);
    std::string gbk;
    return TryUtf8ToGbk(bytes, gbk) ? gbk : bytes;
}

bool SameUserName(const std::string& a, const std::string& b) {
    // The platform's database compares names without regard to ASCII case.
    return a.size() == b.size() && std::equal(a.begin(), a.end(), b.begin(), [](char x, char y) {
               return std::tolower(static_cast<unsigned char>(x)) ==
                      std::tolower(static_cast<unsigned char>(y));
           });
}

struct Operator {
    const char* prefixes;  // three-digit prefixes separated by spaces
    const char* name;
};

const std::array<Operator, 3> kOperators = {{
    {"134 135 136 137 138 139 147 150 151 152 157 158 159 172 178 182 183 184 187 188 195 197 198",
     "中国移动"},
    {"130 131 132 145 155 156 166 167 171 175 176 185 186 196", "中国联通"},
    {"133 149 153 173 174 177 180 181 189 190 191 193 199", "中国电信"},
}};

const std::array<const char*, 16> kProvinces = {
    "广东", "北京", "上海", "浙江", "江苏", "四川", "湖北", "湖南",
    "山东", "河南", "福建", "陕西", "重庆", "天津", "辽宁", "云南",
};

// The provinces of the last sixteen blocks, so that every region the client offers has numbers.
constexpr int kFirstMoreBlock = 10000 - 16;
const std::array<const char*, 16> kMoreProvinces = {
    "安徽", "宁夏", "河北", "山西", "内蒙",   "吉林", "甘肃", "江西",
    "广西", "西藏", "海南", "贵州", "黑龙江", "新疆", "澳门", "香港",
};

bool IsMobileNumber(const std::string& number) {
    return number.size() == 11 && number[0] == '1' &&
           std::all_of(number.begin(), number.end(), [](char c) { return c >= '0' && c <= '9'; });
}

}  // namespace

std::string QueryValue(const std::string& query, const std::string& key) {
    size_t pos = 0;
    while (pos <= query.size()) {
        size_t end = query.find('&', pos);
        if (end == std::string::npos) {
            end = query.size();
        }
        std::string pair = query.substr(pos, end - pos);
        size_t equals = pair.find('=');
        if (equals != std::string::npos && pair.compare(0, equals, key) == 0 &&
            equals == key.size()) {
            return pair.substr(equals + 1);
        }
        pos = end + 1;
    }
    return {};
}

std::string SignReply(const std::vector<Account>& accounts, const std::string& target) {
    const std::string prefix = "/sign/";
    std::string query = target.compare(0, prefix.size(), prefix) == 0 ? target.substr(prefix.size())
                                                                      : std::string();
    std::string userName = DecodeValue(QueryValue(query, "username"));
    std::string password = DecodeValue(QueryValue(query, "password"));
    if (userName.empty() || password.empty()) {
        return Gbk("0|用户名或密码不能为空");
    }
    for (const Account& a : accounts) {
        if (SameUserName(a.userName, userName) && a.password == password) {
            return a.balance + "|" + a.withdrawable + "|" + a.field2 + "|" + a.field3 + "|" +
                   a.securityQuestion + "|" + a.contactQq + "|" + a.legalName + "|" +
                   a.alipayAccount + "|" + a.announcement + "|" + a.serviceQq + "|" + a.kind;
        }
    }
    return Gbk("0|用户名或密码错误");
}

std::string SegmentReply(const std::string& number) {
    std::string province = PlatformSim::SegmentProvince(number);
    if (province.empty()) {
        // What the public service gives for a number it does not know: no province.
        return "__GetZoneResult_ = {\n    telString:'" + number + "'\n}\n";
    }
    std::string prefix = number.substr(0, 3);
    std::string operatorName = "中国移动";
    for (const Operator& o : kOperators) {
        if (std::string(o.prefixes).find(prefix) != std::string::npos) {
            operatorName = o.name;
        }
    }
    std::string carrier = GbkToUtf8(province) + operatorName.substr(std::string("中国").size());
    return "__GetZoneResult_ = {\n    mts:'" + number.substr(0, 7) + "',\n    province:'" +
           province + "',\n    catName:'" + Gbk(operatorName) + "',\n    telString:'" + number +
           "',\n\tareaVid:'30517',\n\tispVid:'3236139',\n\tcarrier:'" + Gbk(carrier) + "'\n}\n";
}

std::string PlatformSim::SegmentProvince(const std::string& number) {
    if (!IsMobileNumber(number)) {
        return {};
    }
    // Digits 4 to 7 pick the province, so neighbouring blocks land in different ones.
    int block = std::stoi(number.substr(3, 4));
    if (block >= kFirstMoreBlock) {
        return Gbk(kMoreProvinces[static_cast<size_t>(block - kFirstMoreBlock)]);
    }
    return Gbk(kProvinces[static_cast<size_t>(block) % kProvinces.size()]);
}

std::string PlatformSim::BuildZip(const std::vector<std::pair<std::string, std::string>>& entries) {
    return BuildStoredZip(entries);
}

Account PlatformSim::DemoAccount() {
    Account a;
    a.userName = "demo2026";
    a.password = "lanxun666";
    a.balance = "88.50";
    a.withdrawable = "12.00";
    a.field2 = "20260001";
    a.field3 = "0";
    a.securityQuestion = Gbk("您母亲的名字是？");
    a.securityAnswer = Gbk("王芳");
    a.contactQq = "10086123";
    a.legalName = Gbk("王小明");
    a.alipayAccount = "demo2026@example.com";
    a.announcement =
        Gbk("欢迎使用岚讯接码平台！\r\n"
            "1. 获取号码后请在300秒内接收验证码，超时号码会自动释放。\r\n"
            "2. 充值到账后即可取号，提现请在“提现”页提交。\r\n"
            "3. 遇到问题请联系客服QQ：800012345。");
    a.serviceQq = "800012345";
    a.kind = Gbk("用户");
    return a;
}

Account PlatformSim::MerchantAccount() {
    Account a;
    a.userName = "merchant01";
    a.password = "kashang888";
    a.balance = "1024.00";
    a.withdrawable = "512.00";
    a.field2 = "20260002";
    a.field3 = "1";
    a.securityQuestion = Gbk("您的小学叫什么名字？");
    a.securityAnswer = Gbk("实验小学");
    a.contactQq = "20086456";
    a.legalName = Gbk("李卡商");
    a.alipayAccount = "merchant01@example.com";
    a.announcement = Gbk("卡商公告：请按时上卡。");
    a.serviceQq = "800012345";
    a.kind = Gbk("商户");
    return a;
}

}  // namespace platformsim
