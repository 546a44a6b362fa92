#include "sim_numbers.h"

#include <algorithm>
#include <array>
#include <cstdint>

#include "builtin_replies.h"
#include "project_catalogue.h"
#include "sim_accounts.h"
#include "sim_text.h"

namespace platformsim {

namespace {

// Real-card prefixes by operator value ("1" 移动, "2" 联通, "3" 电信), as the segment host
// names their operators.
const std::array<std::vector<std::string>, 3> kRealPrefixes = {{
    {"134", "135", "136", "137", "138", "139", "150", "151", "152", "157", "158", "159", "182",
     "183", "187", "188", "198"},
    {"130", "131", "132", "155", "156", "166", "185", "186"},
    {"133", "153", "177", "180", "181", "189", "199"},
}};
// Virtual operators' numbers: 170 for 移动 and 电信 resellers, 171 for 联通.
const std::array<std::vector<std::string>, 3> kVirtualPrefixes = {{{"170"}, {"171"}, {"170"}}};

constexpr const char* kNoSms = "没有收到短信";

uint32_t Mix(uint32_t x) {
    x ^= x >> 16;
    x *= 0x7feb352dU;
    x ^= x >> 15;
    x *= 0x846ca68bU;
    x ^= x >> 16;
    return x;
}

bool IsMobileNumber(const std::string& phone) {
    return phone.size() == 11 && phone[0] == '1' &&
           std::all_of(phone.begin(), phone.end(), [](char c) { return c >= '0' && c <= '9'; });
}

// The prefixes a request with these option values may get; empty for a value the platform
// does not know.
std::vector<std::string> PrefixesFor(const std::string& operatorValue, const std::string& card) {
    std::vector<int> operators;
    if (operatorValue.empty()) {
        operators = {0, 1, 2};
    } else if (operatorValue == "1" || operatorValue == "2" || operatorValue == "3") {
        operators = {operatorValue[0] - '1'};
    }
    std::vector<std::string> prefixes;
    for (int o : operators) {
        const auto& list = card == "1" ? kVirtualPrefixes[o] : kRealPrefixes[o];
        for (const std::string& p : list) {
            if (std::find(prefixes.begin(), prefixes.end(), p) == prefixes.end()) {
                prefixes.push_back(p);
            }
        }
    }
    return prefixes;
}

// The segment blocks (digits 4 to 7) whose numbers the segment host places in `province` (GBK).
const std::vector<int>& BlocksOf(const std::string& province) {
    static const std::map<std::string, std::vector<int>> blocks = [] {
        std::map<std::string, std::vector<int>> byProvince;
        for (int block = 0; block < 10000; ++block) {
            const std::string digits = std::to_string(10000 + block).substr(1);
            byProvince[PlatformSim::SegmentProvince("138" + digits + "0000")].push_back(block);
        }
        return byProvince;
    }();
    static const std::vector<int> none;
    auto found = blocks.find(province);
    return found == blocks.end() ? none : found->second;
}

bool Due(const SmsPlan& plan, int serial, int polls, std::chrono::steady_clock::duration elapsed) {
    auto wait = plan.delay;
    if (plan.delaySpread.count() > 0) {
        wait += std::chrono::milliseconds((static_cast<int64_t>(serial) * 1637) %
                                          plan.delaySpread.count());
    }
    return polls >= plan.queriesBefore && elapsed >= wait;
}

}  // namespace

NumberModel::NumberModel() {
    Reset();
}

bool NumberModel::Handles(const std::string& word) {
    return word == "yh_qh" || word == "yh_qm" || word == "yh_sf" || word == "yh_lh" ||
           word == "fdx_tj";
}

std::string NumberModel::Reply(const std::vector<Account>& accounts,
                               const ProjectCatalogue& projects, const std::string& word,
                               const std::string& target) {
    const std::string prefix = "/" + word + "/";
    if (!Handles(word) || target.compare(0, prefix.size(), prefix) != 0) {
        return {};
    }
    const std::string query = target.substr(prefix.size());
    if (query.rfind("username=", 0) != 0) {
        return {};  // not a request of the client protocol at all: the empty reply
    }
    const bool statusReply = word == "yh_qh" || word == "yh_qm";
    std::vector<Account> known = accounts;
    const Account* account =
        FindAccount(known, DecodedValue(query, "username"), DecodedValue(query, "password"));
    if (account == nullptr) {
        return Gbk(statusReply ? "0|用户名或密码错误" : "用户名或密码错误");
    }
    const std::string user = account->userName;
    const std::string projectId = PercentDecode(QueryValue(query, "id"));
    const std::string phone = PercentDecode(QueryValue(query, "phone"));
    // Looked up before this model's lock, so that the two locks are never held together.
    const std::optional<SimProject> project =
        word == "yh_qh" ? projects.Project(projectId) : std::nullopt;

    std::lock_guard<std::mutex> lock(mutex_);
    if (word == "yh_qh") {
        if (refusals_ > 0) {
            --refusals_;
            return "0|" + Gbk(refusalMessage_);
        }
        const bool valid = project && !projectId.empty() && projectId.size() < 10 &&
                           std::all_of(projectId.begin(), projectId.end(),
                                       [](char c) { return c >= '0' && c <= '9'; }) &&
                           std::stoi(projectId) >= 1000;
        if (!valid) {
            return Gbk("0|项目不存在");
        }
        return TakeNumber(user, project->name, projectId, query);
    }
    if (word == "yh_qm") {
        return Poll(user, projectId, phone);
    }
    if (word == "fdx_tj") {
        return Submit(user, projectId, query, target);
    }
    return Dispose(user, projectId, phone,
                   word == "yh_lh" ? Disposal::Blacklist : Disposal::Release);
}

std::string NumberModel::TakeNumber(const std::string& user, const std::string& projectName,
                                    const std::string& projectId, const std::string& query) {
    const std::string phone = PercentDecode(QueryValue(query, "phone"));
    if (!phone.empty()) {
        if (!IsMobileNumber(phone)) {
            return Gbk("0|指定号码格式错误");
        }
        auto held = held_.find(phone);
        const bool heldHere = held != held_.end() && held->second.userName == user &&
                              held->second.projectId == projectId;
        if (held != held_.end() && !heldHere) {
            return Gbk("0|指定号码已被占用");
        }
        if (blacklist_[user].count(phone) != 0) {
            return Gbk("0|指定号码已被拉黑");
        }
        // A number the user holds is given again (the client's "use again"); the loop mode
        // does not filter a number asked for by name.
        Hold(user, projectId, projectName, phone);
        return "1|" + phone;
    }

    const std::string operatorValue = QueryValue(query, "operator");
    const std::string card = QueryValue(query, "card");
    const std::string loop = QueryValue(query, "loop");
    // The province arrives as escaped UTF-8 (or as raw GBK bytes); kept as GBK.
    const std::string province = DecodedValue(query, "region");
    if (!operatorValue.empty() && operatorValue != "1" && operatorValue != "2" &&
        operatorValue != "3") {
        return Gbk("0|运营商参数错误");
    }
    if (!card.empty() && card != "1" && card != "2") {
        return Gbk("0|卡型参数错误");
    }
    if (!loop.empty() && loop != "1" && loop != "2") {
        return Gbk("0|过滤参数错误");
    }
    if (!province.empty() && BlocksOf(province).empty()) {
        return Gbk("0|暂无该地区号码");
    }
    const bool filterUsed = loop != "2";

    std::vector<std::string>& queue = queued_[projectId];
    while (!queue.empty()) {
        const std::string next = queue.front();
        queue.erase(queue.begin());
        if (Available(user, projectId, next, filterUsed)) {
            Hold(user, projectId, projectName, next);
            return "1|" + next;
        }
    }
    if (!filterUsed) {
        // Loop "2": a number that already received this project's SMS may come again.
        const std::vector<std::string> prefixes = PrefixesFor(operatorValue, card);
        for (const std::string& used : used_[{user, projectId}]) {
            const bool matches =
                std::find(prefixes.begin(), prefixes.end(), used.substr(0, 3)) != prefixes.end() &&
                (province.empty() || PlatformSim::SegmentProvince(used) == province);
            if (matches && Available(user, projectId, used, false)) {
                Hold(user, projectId, projectName, used);
                return "1|" + used;
            }
        }
    }
    const std::string fresh = FreshNumber(user, projectId, operatorValue, province, card);
    if (fresh.empty()) {
        return Gbk("0|暂无可用号码，请稍后再试");
    }
    Hold(user, projectId, projectName, fresh);
    return "1|" + fresh;
}

bool NumberModel::Available(const std::string& user, const std::string& projectId,
                            const std::string& phone, bool filterUsed) const {
    if (!IsMobileNumber(phone) || held_.count(phone) != 0) {
        return false;
    }
    auto black = blacklist_.find(user);
    if (black != blacklist_.end() && black->second.count(phone) != 0) {
        return false;
    }
    if (filterUsed) {
        auto used = used_.find({user, projectId});
        if (used != used_.end() &&
            std::find(used->second.begin(), used->second.end(), phone) != used->second.end()) {
            return false;
        }
    }
    return true;
}

std::string NumberModel::FreshNumber(const std::string& user, const std::string& projectId,
                                     const std::string& operatorValue, const std::string& province,
                                     const std::string& card) {
    const std::vector<std::string> prefixes = PrefixesFor(operatorValue, card);
    static const std::vector<int> anyBlock = [] {
        std::vector<int> all(10000);
        for (int i = 0; i < 10000; ++i) {
            all[static_cast<size_t>(i)] = i;
        }
        return all;
    }();
    const std::vector<int>& blocks = province.empty() ? anyBlock : BlocksOf(province);
    if (prefixes.empty() || blocks.empty()) {
        return {};
    }
    // A bounded number of draws: the space is large, so a miss means something is badly wrong.
    for (int attempt = 0; attempt < 1000; ++attempt) {
        const uint32_t a = Mix(static_cast<uint32_t>(++draws_) * 2654435761U);
        const uint32_t b = Mix(a ^ 0x5bd1e995U);
        const std::string& prefix = prefixes[a % prefixes.size()];
        const int block = blocks[b % blocks.size()];
        const int tail = static_cast<int>((a >> 8) % 10000);
        const std::string phone = prefix + std::to_string(10000 + block).substr(1) +
                                  std::to_string(10000 + tail).substr(1);
        if (Available(user, projectId, phone, true)) {
            return phone;
        }
    }
    return {};
}

void NumberModel::Hold(const std::string& user, const std::string& projectId,
                       const std::string& projectName, const std::string& phone) {
    Holding h;
    h.userName = user;
    h.projectId = projectId;
    h.since = std::chrono::steady_clock::now();
    h.serial = ++serial_;
    auto plan = smsPlans_.find(phone);
    h.sms = plan == smsPlans_.end() ? defaultSms_ : plan->second;
    if (h.sms.text.empty()) {
        const uint32_t code = 100000 + Mix(static_cast<uint32_t>(h.serial) * 7919U) % 900000;
        h.smsText =
            Gbk("【" + projectName + "】您的验证码是" + std::to_string(code) + "，5分钟内有效。");
    } else {
        h.smsText = Gbk(h.sms.text);
    }
    held_[phone] = h;
}

std::string NumberModel::Poll(const std::string& user, const std::string& projectId,
                              const std::string& phone) {
    auto found = held_.find(phone);
    if (found == held_.end() || found->second.userName != user ||
        found->second.projectId != projectId) {
        return "0|" + phone + "|" + Gbk("该号码未被您占用或已释放");
    }
    Holding& h = found->second;
    if (h.sending) {
        if (h.sendPolls < h.sending->queriesBefore) {
            ++h.sendPolls;
            return "0|" + phone + "|" + Gbk(kNoSms);
        }
        const std::string text = !h.sending->text.empty() ? h.sending->text
                                 : h.sending->sent        ? std::string("成功")
                                                          : std::string("失败");
        return "1|" + phone + "|" + Gbk(text);
    }
    if (!h.delivered && Due(h.sms, h.serial, h.polls, std::chrono::steady_clock::now() - h.since)) {
        h.delivered = true;
        std::vector<std::string>& used = used_[{user, projectId}];
        if (std::find(used.begin(), used.end(), phone) == used.end()) {
            used.push_back(phone);
        }
    }
    if (h.delivered) {
        return "1|" + phone + "|" + h.smsText;
    }
    ++h.polls;
    return "0|" + phone + "|" + Gbk(kNoSms);
}

std::string NumberModel::Dispose(const std::string& user, const std::string& projectId,
                                 const std::string& phone, Disposal how) {
    auto found = held_.find(phone);
    if (found == held_.end() || found->second.userName != user ||
        found->second.projectId != projectId) {
        return Gbk(how == Disposal::Release ? "释放失败，该号码未被您占用"
                                            : "加黑失败，该号码未被您占用");
    }
    held_.erase(found);
    if (how == Disposal::Blacklist) {
        blacklist_[user].insert(phone);
    }
    disposals_.push_back({user, projectId, phone, how});
    return Gbk(how == Disposal::Release ? "释放成功" : "加黑成功");
}

std::string NumberModel::Submit(const std::string& user, const std::string& projectId,
                                const std::string& query, const std::string& target) {
    const std::string phone = PercentDecode(QueryValue(query, "phone"));
    const std::string send = QueryValue(query, "send");
    const std::string content = QueryValue(query, "content");
    auto found = held_.find(phone);
    if (found == held_.end() || found->second.userName != user ||
        found->second.projectId != projectId) {
        return Gbk("发送失败，该号码未被您占用或已释放");
    }
    if (send.empty()) {
        return Gbk("发送失败，发送号码不能为空");
    }
    if (content.empty()) {
        return Gbk("发送失败，发送内容不能为空");
    }
    auto plan = sendPlans_.find(phone);
    found->second.sending = plan == sendPlans_.end() ? defaultSend_ : plan->second;
    found->second.sendPolls = 0;
    submissions_.push_back({user, projectId, phone, send, content, target});
    return Gbk("发送内容提交成功等待卡商发送短信");
}

void NumberModel::PlanSms(const std::string& phone, SmsPlan plan) {
    std::lock_guard<std::mutex> lock(mutex_);
    smsPlans_[phone] = plan;
    auto held = held_.find(phone);
    if (held != held_.end()) {
        Holding& h = held->second;
        h.sms = plan;
        h.since = std::chrono::steady_clock::now();
        h.polls = 0;
        h.delivered = false;
        if (!plan.text.empty()) {
            h.smsText = Gbk(plan.text);
        }
    }
}

void NumberModel::SetDefaultSmsPlan(SmsPlan plan) {
    std::lock_guard<std::mutex> lock(mutex_);
    defaultSms_ = std::move(plan);
}

void NumberModel::PlanSendResult(const std::string& phone, SendPlan plan) {
    std::lock_guard<std::mutex> lock(mutex_);
    sendPlans_[phone] = std::move(plan);
}

void NumberModel::SetDefaultSendPlan(SendPlan plan) {
    std::lock_guard<std::mutex> lock(mutex_);
    defaultSend_ = std::move(plan);
}

void NumberModel::QueueNumbers(const std::string& projectId, std::vector<std::string> phones) {
    std::lock_guard<std::mutex> lock(mutex_);
    std::vector<std::string>& queue = queued_[projectId];
    queue.insert(queue.end(), phones.begin(), phones.end());
}

void NumberModel::RefuseNextNumbers(int count, std::string message) {
    std::lock_guard<std::mutex> lock(mutex_);
    refusals_ = std::max(0, count);
    refusalMessage_ = std::move(message);
}

void NumberModel::SetReplyDelay(std::chrono::milliseconds delay) {
    std::lock_guard<std::mutex> lock(mutex_);
    replyDelay_ = delay;
}

std::chrono::milliseconds NumberModel::ReplyDelay() const {
    std::lock_guard<std::mutex> lock(mutex_);
    return replyDelay_;
}

std::vector<HeldNumber> NumberModel::Held() const {
    std::lock_guard<std::mutex> lock(mutex_);
    std::vector<const std::pair<const std::string, Holding>*> inOrder;
    for (const auto& entry : held_) {
        inOrder.push_back(&entry);
    }
    std::sort(inOrder.begin(), inOrder.end(),
              [](auto* a, auto* b) { return a->second.serial < b->second.serial; });
    std::vector<HeldNumber> held;
    for (const auto* entry : inOrder) {
        held.push_back({entry->second.userName, entry->second.projectId, entry->first});
    }
    return held;
}

std::vector<DisposedNumber> NumberModel::Disposals() const {
    std::lock_guard<std::mutex> lock(mutex_);
    return disposals_;
}

std::vector<SmsSubmission> NumberModel::Submissions() const {
    std::lock_guard<std::mutex> lock(mutex_);
    return submissions_;
}

void NumberModel::Reset() {
    std::lock_guard<std::mutex> lock(mutex_);
    held_.clear();
    blacklist_.clear();
    used_.clear();
    smsPlans_.clear();
    sendPlans_.clear();
    queued_.clear();
    defaultSms_ = SmsPlan{};
    defaultSms_.delay = std::chrono::milliseconds(4000);
    defaultSms_.delaySpread = std::chrono::milliseconds(4000);
    defaultSend_ = SendPlan{};
    refusals_ = 0;
    refusalMessage_.clear();
    replyDelay_ = std::chrono::milliseconds(0);
    disposals_.clear();
    submissions_.clear();
    serial_ = 0;
    draws_ = 0;
}

}  // namespace platformsim
