#include "funds_model.h"

#include <qrencode.h>
#include <strings.h>
#include <zlib.h>

#include <algorithm>
#include <array>
#include <chrono>
#include <cinttypes>
#include <cstdio>
#include <ctime>

#include "builtin_replies.h"
#include "sim_text.h"

namespace platformsim {

namespace {

struct Project {
    const char* id;
    const char* name;
    int64_t priceFen;
    int64_t referralFen;
};

const std::array<Project, 8> kProjects = {{
    {"1001", "抖音", 50, 5},
    {"1002", "微信", 80, 8},
    {"1003", "淘宝", 40, 4},
    {"1004", "京东", 45, 5},
    {"1005", "美团", 35, 3},
    {"1006", "拼多多", 30, 3},
    {"1007", "快手", 50, 5},
    {"1008", "支付宝", 100, 10},
}};

const std::array<const char*, 8> kPrefixes = {"134", "138", "150", "187",
                                              "130", "186", "133", "189"};

// The records' times count back from here, seven minutes apart.
constexpr int64_t kNewestRecord = 1796860740;  // 2026-12-09 23:59:00 UTC
constexpr int64_t kRecordSpacing = 7 * 60 + 13;

// The platform's date-time text: seconds, then minutes, left off when they are 0.
std::string DateTimeText(int64_t seconds) {
    time_t t = static_cast<time_t>(seconds);
    std::tm tm{};
    gmtime_r(&t, &tm);
    char text[96];
    int n = std::snprintf(text, sizeof text, "%d年%d月%d日", tm.tm_year + 1900, tm.tm_mon + 1,
                          tm.tm_mday);
    if (tm.tm_sec != 0) {
        std::snprintf(text + n, sizeof text - n, "%d时%d分%d秒", tm.tm_hour, tm.tm_min, tm.tm_sec);
    } else if (tm.tm_min != 0) {
        std::snprintf(text + n, sizeof text - n, "%d时%d分", tm.tm_hour, tm.tm_min);
    } else if (tm.tm_hour != 0) {
        std::snprintf(text + n, sizeof text - n, "%d时", tm.tm_hour);
    }
    return Gbk(text);
}

std::string NowText() {
    return DateTimeText(static_cast<int64_t>(std::time(nullptr)) + 8 * 3600);
}

// A fixed pseudo-random sequence, so every run shows the same records.
uint32_t Mix(uint32_t x) {
    x ^= x >> 16;
    x *= 0x7feb352dU;
    x ^= x >> 15;
    x *= 0x846ca68bU;
    x ^= x >> 16;
    return x;
}

std::vector<MoneyRecord> MakeRecords(int count, bool referral, uint32_t salt) {
    std::vector<MoneyRecord> records;
    records.reserve(static_cast<size_t>(count));
    for (int i = 0; i < count; ++i) {
        const uint32_t r = Mix(static_cast<uint32_t>(i) * 2654435761U + salt);
        const Project& p = kProjects[r % kProjects.size()];
        char phone[16];
        std::snprintf(phone, sizeof phone, "%s%08u", kPrefixes[(r >> 4) % kPrefixes.size()],
                      Mix(r) % 100000000U);
        char sms[160];
        std::snprintf(sms, sizeof sms, "【%s】您的验证码是%06u，5分钟内有效，请勿泄露。", p.name,
                      Mix(r + 7) % 1000000U);
        MoneyRecord record;
        record.projectId = p.id;
        record.projectName = Gbk(p.name);
        record.phone = phone;
        record.priceFen = referral ? p.referralFen : p.priceFen;
        record.smsText = Gbk(sms);
        record.time = DateTimeText(kNewestRecord - static_cast<int64_t>(i) * kRecordSpacing -
                                   (referral ? 97 : 0));
        records.push_back(std::move(record));
    }
    return records;
}

std::optional<int64_t> ReadFen(const std::string& text) {
    return FundsModel::ReadAmountFen(text);
}

// Values arrive as percent-escaped UTF-8; the records hold GBK.
std::string DecodeValue(const std::string& escaped) {
    std::string bytes = PercentDecode(escaped);
    std::string gbk;
    return TryUtf8ToGbk(bytes, gbk) ? gbk : bytes;
}

// The page a "y" value asks for; anything that is not a page number asks for the first.
int PageNumber(const std::string& text) {
    if (text.empty() || text.size() > 9 ||
        !std::all_of(text.begin(), text.end(), [](char c) { return c >= '0' && c <= '9'; })) {
        return 1;
    }
    return std::max(1, std::stoi(text));
}

std::string PagedReply(const std::vector<MoneyRecord>& all, const std::string* search, int page) {
    std::vector<const MoneyRecord*> matching;
    int64_t totalFen = 0;
    for (const MoneyRecord& r : all) {
        if (search && !search->empty() && r.projectId != *search &&
            r.phone.find(*search) == std::string::npos) {
            continue;
        }
        matching.push_back(&r);
        totalFen += r.priceFen;
    }
    std::string reply = std::to_string(matching.size()) + "|" + FundsModel::FenText(totalFen) + "|";
    const size_t first = static_cast<size_t>(page - 1) * FundsModel::kPageSize;
    for (size_t i = first; i < matching.size() && i < first + FundsModel::kPageSize; ++i) {
        const MoneyRecord& r = *matching[i];
        if (i != first) {
            reply += "#c+";
        }
        reply += r.projectId + "#c-" + r.projectName + "#c-" + r.phone + "#c-" +
                 FundsModel::FenText(r.priceFen) + "#c-" + r.smsText + "#c-" + r.time;
    }
    return reply;
}

bool SameName(const std::string& a, const std::string& b) {
    return a.size() == b.size() && strncasecmp(a.c_str(), b.c_str(), a.size()) == 0;
}

int64_t SteadySeconds() {
    return std::chrono::duration_cast<std::chrono::seconds>(
               std::chrono::steady_clock::now().time_since_epoch())
        .count();
}

void AppendChunk(std::string& png, const char* type, const std::string& data) {
    const uint32_t length = static_cast<uint32_t>(data.size());
    for (int shift = 24; shift >= 0; shift -= 8) {
        png += static_cast<char>((length >> shift) & 0xFF);
    }
    std::string body = std::string(type, 4) + data;
    png += body;
    const uint32_t crc = static_cast<uint32_t>(
        crc32(0, reinterpret_cast<const Bytef*>(body.data()), static_cast<uInt>(body.size())));
    for (int shift = 24; shift >= 0; shift -= 8) {
        png += static_cast<char>((crc >> shift) & 0xFF);
    }
}

std::string BigEndian32(uint32_t value) {
    std::string bytes;
    for (int shift = 24; shift >= 0; shift -= 8) {
        bytes += static_cast<char>((value >> shift) & 0xFF);
    }
    return bytes;
}

// An 8-bit greyscale PNG of `pixels` (rows of `side` bytes), compressed at `level`.
std::string GreyPng(const std::vector<uint8_t>& pixels, uint32_t side, int level) {
    std::string raw;
    raw.reserve(pixels.size() + side);
    for (uint32_t y = 0; y < side; ++y) {
        raw += '\0';  // filter: none
        raw.append(reinterpret_cast<const char*>(&pixels[y * side]), side);
    }
    uLongf packedSize = compressBound(static_cast<uLong>(raw.size()));
    std::string packed(packedSize, '\0');
    if (compress2(reinterpret_cast<Bytef*>(packed.data()), &packedSize,
                  reinterpret_cast<const Bytef*>(raw.data()), static_cast<uLong>(raw.size()),
                  level) != Z_OK) {
        return {};
    }
    packed.resize(packedSize);
    std::string png("\x89PNG\r\n\x1a\n", 8);
    std::string header = BigEndian32(side) + BigEndian32(side);
    header += '\x08';  // bit depth
    header += '\0';    // colour type: greyscale
    header += '\0';    // compression
    header += '\0';    // filter
    header += '\0';    // no interlace
    AppendChunk(png, "IHDR", header);
    AppendChunk(png, "IDAT", packed);
    AppendChunk(png, "IEND", {});
    return png;
}

}  // namespace

std::string FundsModel::FenText(int64_t fen) {
    char text[32];
    const int64_t whole = fen / 100;
    const int64_t cents = fen % 100;
    std::snprintf(text, sizeof text, "%s%" PRId64 ".%02" PRId64, fen < 0 ? "-" : "",
                  whole < 0 ? -whole : whole, cents < 0 ? -cents : cents);
    return text;
}

std::optional<int64_t> FundsModel::ReadAmountFen(const std::string& text) {
    const size_t dot = text.find('.');
    const std::string whole = text.substr(0, dot);
    const std::string decimals = dot == std::string::npos ? std::string() : text.substr(dot + 1);
    const auto digits = [](const std::string& s) {
        return std::all_of(s.begin(), s.end(), [](char c) { return c >= '0' && c <= '9'; });
    };
    if (whole.empty() || whole.size() > 9 || !digits(whole) || decimals.size() > 2 ||
        !digits(decimals) || (dot != std::string::npos && decimals.empty())) {
        return std::nullopt;
    }
    int64_t fen = std::stoll(whole) * 100;
    if (!decimals.empty()) {
        fen += std::stoll(decimals) * (decimals.size() == 1 ? 10 : 1);
    }
    return fen;
}

std::string FundsModel::PaymentText(const std::string& userName, int64_t amountFen, int serial) {
    char order[32];
    std::snprintf(order, sizeof order, "LX%010d", serial);
    return "https://qr.alipay.example/lanxun?user=" + PercentDecode(userName) +
           "&amount=" + FenText(amountFen) + "&order=" + order;
}

std::string FundsModel::QrPng(const std::string& text) {
    QRcode* code = QRcode_encodeString(text.c_str(), 0, QR_ECLEVEL_M, QR_MODE_8, 1);
    if (code == nullptr) {
        return {};
    }
    constexpr uint32_t kScale = 6;
    constexpr uint32_t kQuiet = 4;  // modules of white around the code
    const uint32_t modules = static_cast<uint32_t>(code->width);
    const uint32_t side = (modules + 2 * kQuiet) * kScale;
    std::vector<uint8_t> pixels(static_cast<size_t>(side) * side, 0xFF);
    for (uint32_t my = 0; my < modules; ++my) {
        for (uint32_t mx = 0; mx < modules; ++mx) {
            if ((code->data[my * modules + mx] & 1) == 0) {
                continue;
            }
            for (uint32_t dy = 0; dy < kScale; ++dy) {
                const size_t row = static_cast<size_t>((my + kQuiet) * kScale + dy) * side;
                std::fill_n(&pixels[row + (mx + kQuiet) * kScale], kScale, uint8_t{0});
            }
        }
    }
    QRcode_free(code);
    // The client takes FF 7B E7 anywhere in the reply for its error marker, so an image must
    // not hold it; another compression level gives other bytes.
    for (int level : {9, 6, 1, 0}) {
        std::string png = GreyPng(pixels, side, level);
        if (!png.empty() && png.find(kQrErrorMarker) == std::string::npos) {
            return png;
        }
    }
    return {};
}

AccountMoney FundsModel::Seed(const std::string& userName, const std::string& balance,
                              const std::string& withdrawable) {
    uint32_t salt = 0;
    for (char c : userName) {
        salt = salt * 31 + static_cast<unsigned char>(c);
    }
    AccountMoney money;
    money.balanceFen = ReadFen(balance).value_or(0);
    money.withdrawableFen = ReadFen(withdrawable).value_or(0);
    money.smsRecords = MakeRecords(kSmsRecords, false, salt);
    money.referralRecords = MakeRecords(kReferralRecords, true, salt ^ 0x5bd1e995U);
    const std::string account = userName + "@alipay.example";
    const std::string name = Gbk("王小明");
    money.withdrawals = {
        {name, account, DateTimeText(kNewestRecord - 3 * 86400 + 3600), Gbk("已打款"), 2000},
        {name, account, DateTimeText(kNewestRecord - 9 * 86400 + 5400), Gbk("已打款"), 1500},
        {name, account, DateTimeText(kNewestRecord - 20 * 86400), Gbk("账户信息有误，已退回"),
         1000},
    };
    money.recharges = {
        {"20261208200040011100165218115020", Gbk("支付宝"), DateTimeText(kNewestRecord - 86400),
         Gbk("充值成功"), 5000},
        {"20261130200040011100165218110100", Gbk("支付宝"),
         DateTimeText(kNewestRecord - 10 * 86400 + 1234), Gbk("充值成功"), 10000},
        {"LX0000000042", Gbk("扫码"), DateTimeText(kNewestRecord - 15 * 86400 + 60),
         Gbk("充值成功"), 3000},
    };
    return money;
}

AccountMoney& FundsModel::MoneyOf(const std::string& userName,
                                  const std::vector<Account>& accounts) {
    auto found = money_.find(userName);
    if (found != money_.end()) {
        return found->second;
    }
    std::string balance = "0.00";
    std::string withdrawable = "0.00";
    for (const Account& a : accounts) {
        if (SameName(a.userName, userName)) {
            balance = a.balance;
            withdrawable = a.withdrawable;
        }
    }
    return money_[userName] = Seed(userName, balance, withdrawable);
}

void FundsModel::SetMoney(const std::string& userName, AccountMoney money) {
    std::lock_guard lock(mutex_);
    money_[userName] = std::move(money);
}

AccountMoney FundsModel::Money(const std::string& userName) {
    std::lock_guard lock(mutex_);
    return MoneyOf(userName, {});
}

void FundsModel::Reset() {
    std::lock_guard lock(mutex_);
    money_.clear();
}

std::optional<std::string> FundsModel::Answer(const std::string& endpoint,
                                              const std::string& target,
                                              const std::vector<Account>& accounts) {
    static const std::vector<std::string> kEndpoints = {"yh_gx",   "yh_mx", "yh_mx_s", "tj_mx",
                                                        "tj_mx_s", "tx_mx", "cz_mx",   "sc",
                                                        "cx",      "cz_tj", "tj"};
    if (std::find(kEndpoints.begin(), kEndpoints.end(), endpoint) == kEndpoints.end()) {
        return std::nullopt;
    }
    const std::string prefix = "/" + endpoint + "/";
    const std::string query =
        target.compare(0, prefix.size(), prefix) == 0 ? target.substr(prefix.size()) : "";
    const std::string userName = DecodeValue(QueryValue(query, "username"));
    const std::string password = DecodeValue(QueryValue(query, "password"));
    const auto known = std::find_if(accounts.begin(), accounts.end(), [&](const Account& a) {
        return SameName(a.userName, userName) && a.password == password;
    });
    if (known == accounts.end()) {
        return endpoint == "sc" ? "0" + std::string(kQrErrorMarker) + Gbk("用户名或密码错误")
                                : Gbk("用户名或密码错误");
    }

    std::lock_guard lock(mutex_);
    AccountMoney& money = MoneyOf(known->userName, accounts);
    if (endpoint == "yh_gx") {
        return FenText(money.balanceFen) + "|" + FenText(money.withdrawableFen);
    }
    if (endpoint == "yh_mx" || endpoint == "yh_mx_s" || endpoint == "tj_mx" ||
        endpoint == "tj_mx_s") {
        const bool referral = endpoint[0] == 't';
        const bool searching = endpoint.size() > 5;
        const std::string search = DecodeValue(QueryValue(query, "n"));
        return PagedReply(referral ? money.referralRecords : money.smsRecords,
                          searching ? &search : nullptr, PageNumber(QueryValue(query, "y")));
    }
    if (endpoint == "tx_mx") {
        std::string reply;
        for (size_t i = 0; i < money.withdrawals.size(); ++i) {
            const WithdrawalEntry& w = money.withdrawals[i];
            reply += (i ? "," : "") + w.name + "|" + w.account + "|" + FenText(w.amountFen) + "|" +
                     w.time + "|" + w.result + "|" + std::to_string(money.withdrawals.size() - i);
        }
        return reply;
    }
    if (endpoint == "cz_mx") {
        std::string reply;
        for (size_t i = 0; i < money.recharges.size(); ++i) {
            const RechargeEntry& r = money.recharges[i];
            reply += (i ? "|" : "") + r.orderNumber + "," + FenText(r.amountFen) + "," + r.channel +
                     "," + r.time + "," + r.result;
        }
        return reply;
    }
    if (endpoint == "cx") {
        return Gbk("岚讯科技|lanxun-pay@alipay.example");
    }
    if (endpoint == "sc") {
        const std::optional<int64_t> fen = ReadFen(PercentDecode(QueryValue(query, "j")));
        std::string error;
        if (!fen) {
            error = "充值金额格式错误";
        } else if (*fen < 1000) {
            error = "充值金额不能低于10元";
        } else if (*fen > 5000000) {
            error = "单笔充值金额不能超过50000元";
        }
        std::string png;
        if (error.empty()) {
            png = QrPng(PaymentText(known->userName, *fen, ++qrSerial_));
            if (png.empty()) {
                error = "二维码生成失败，请稍后再试";
            }
        }
        return error.empty() ? png : "0" + std::string(kQrErrorMarker) + Gbk(error);
    }
    if (endpoint == "cz_tj") {
        const std::string order = PercentDecode(QueryValue(query, "d"));
        if (order.size() != 32 ||
            !std::all_of(order.begin(), order.end(), [](char c) { return c >= '0' && c <= '9'; })) {
            return Gbk("支付宝交易号不存在，请核对后再提交");
        }
        for (const RechargeEntry& r : money.recharges) {
            if (r.orderNumber == order) {
                return Gbk("该交易号已经充值过了，请勿重复提交");
            }
        }
        // The transfer's amount, in yuan, is what its last four digits say.
        const int64_t fen = std::stoll(order.substr(28)) * 100;
        if (fen < 1000) {
            return Gbk("转账金额低于10元，请联系客服人工处理");
        }
        money.balanceFen += fen;
        money.recharges.insert(money.recharges.begin(),
                               {order, Gbk("支付宝"), NowText(), Gbk("充值成功"), fen});
        return Gbk("充值成功，到账" + FenText(fen) + "元");
    }
    // tj
    const std::optional<int64_t> fen = ReadFen(PercentDecode(QueryValue(query, "j")));
    if (!fen) {
        return Gbk("提现金额格式错误");
    }
    if (*fen < 1000) {
        return Gbk("提现金额最低10元起");
    }
    if (*fen > money.withdrawableFen) {
        return Gbk("可提现金额不足，当前可提现" + FenText(money.withdrawableFen) + "元");
    }
    const int64_t now = SteadySeconds();
    if (money.lastWithdrawalSecond >= 0 && now - money.lastWithdrawalSecond < 600) {
        return Gbk("每次提现需要间隔10分钟才能再次发起提现申请");
    }
    money.lastWithdrawalSecond = now;
    money.withdrawableFen -= *fen;
    money.balanceFen -= *fen;
    money.withdrawals.insert(
        money.withdrawals.begin(),
        {known->legalName, known->userName + "@alipay.example", NowText(), Gbk("处理中"), *fen});
    return Gbk("提现申请已提交，处理中，当天到账");
}

}  // namespace platformsim
