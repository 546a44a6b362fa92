#pragma once

// The platform's numbers: yh_qh hands out numbers per user and project, yh_qm reports a
// number's SMS (or, after fdx_tj, the result of sending one), yh_sf and yh_lh give numbers
// back, fdx_tj takes an SMS to send. Tests plan each number's SMS and send result, queue the
// numbers the next requests get, and read back what was held, given back and submitted.
// Every public call is thread-safe.

#include <chrono>
#include <map>
#include <mutex>
#include <optional>
#include <set>
#include <string>
#include <tuple>
#include <vector>

#include "platform_sim.h"

namespace platformsim {

class ProjectCatalogue;

// When a number's SMS arrives: once `queriesBefore` yh_qm queries have answered
// "没有收到短信" and `delay` plus the number's share of `delaySpread` has passed since the
// number was obtained (or since the plan was set for a number already held).
struct SmsPlan {
    // UTF-8 (bytes that are not UTF-8 go out as they are); empty:
    // "【<project name>】您的验证码是<6 digits>，5分钟内有效。"
    std::string text;
    int queriesBefore = 0;
    std::chrono::milliseconds delay{0};
    // Numbers get distinct delays between `delay` and `delay + delaySpread`.
    std::chrono::milliseconds delaySpread{0};
};

// How the sending of a submitted SMS ends, reported by yh_qm as field 2 of a "1" reply
// after `queriesBefore` queries have answered "没有收到短信".
struct SendPlan {
    bool sent = true;
    int queriesBefore = 2;
    std::string
        text;  // UTF-8, or bytes sent as they are; empty: "成功" when sent, "失败" otherwise
};

enum class Disposal { Release, Blacklist };

struct DisposedNumber {
    std::string userName;  // GBK, as the account spells it
    std::string projectId;
    std::string phone;
    Disposal how = Disposal::Release;
};

struct HeldNumber {
    std::string userName;  // GBK, as the account spells it
    std::string projectId;
    std::string phone;
};

struct SmsSubmission {
    std::string userName;  // GBK, as the account spells it
    std::string projectId;
    std::string phone;
    std::string send;     // the value of "send" exactly as it arrived (still escaped)
    std::string content;  // the value of "content" as the platform splits the pairs, still escaped
    std::string target;   // the whole request target exactly as it arrived
};

class NumberModel {
public:
    NumberModel();

    // True for yh_qh, yh_qm, yh_sf, yh_lh and fdx_tj.
    static bool Handles(const std::string& word);
    // The GBK reply to one of those requests.
    std::string Reply(const std::vector<Account>& accounts, const ProjectCatalogue& projects,
                      const std::string& word, const std::string& target);

    // The SMS of `phone`: for the number as it is held now (counted from now) and for every
    // later acquisition of it (counted from then), until planned again or Reset.
    void PlanSms(const std::string& phone, SmsPlan plan);
    // The plan of numbers without one of their own. Starts as 4 to 8 s after acquisition.
    void SetDefaultSmsPlan(SmsPlan plan);
    // The result of the next submission on `phone` (and of every later one).
    void PlanSendResult(const std::string& phone, SendPlan plan);
    void SetDefaultSendPlan(SendPlan plan);

    // The next yh_qh batch requests for `projectId` hand out these numbers in order, whatever
    // their options ask; a queued number that is held, black-listed for the user or (loop
    // "1" or "") already used by the user for the project is dropped from the queue.
    void QueueNumbers(const std::string& projectId, std::vector<std::string> phones);
    // The next `count` yh_qh requests are refused with "0|" + `message` (UTF-8).
    void RefuseNextNumbers(int count, std::string message);
    // Every reply of the model waits this long first (0: none).
    void SetReplyDelay(std::chrono::milliseconds delay);
    std::chrono::milliseconds ReplyDelay() const;

    // The numbers held now, in the order they were (last) obtained.
    std::vector<HeldNumber> Held() const;
    // Successful releases and black-listings, oldest first.
    std::vector<DisposedNumber> Disposals() const;
    // Accepted fdx_tj submissions, oldest first.
    std::vector<SmsSubmission> Submissions() const;
    // Back to the state of construction: nothing held, planned, queued or recorded.
    void Reset();

private:
    struct Holding {
        std::string projectId;
        std::string userName;
        std::chrono::steady_clock::time_point since;
        int serial = 0;  // which acquisition this is, for the default code and delay
        int polls = 0;   // yh_qm queries answered since `since`
        SmsPlan sms;
        std::string smsText;  // GBK, fixed when the holding starts
        bool delivered = false;
        std::optional<SendPlan> sending;  // set by an accepted fdx_tj
        int sendPolls = 0;
    };
    struct UserProject {
        std::string userName;
        std::string projectId;
        bool operator<(const UserProject& o) const {
            return std::tie(userName, projectId) < std::tie(o.userName, o.projectId);
        }
    };

    std::string TakeNumber(const std::string& user, const std::string& projectName,
                           const std::string& projectId, const std::string& query);
    std::string Poll(const std::string& user, const std::string& projectId,
                     const std::string& phone);
    std::string Dispose(const std::string& user, const std::string& projectId,
                        const std::string& phone, Disposal how);
    std::string Submit(const std::string& user, const std::string& projectId,
                       const std::string& query, const std::string& target);
    bool Available(const std::string& user, const std::string& projectId, const std::string& phone,
                   bool filterUsed) const;
    void Hold(const std::string& user, const std::string& projectId, const std::string& projectName,
              const std::string& phone);
    std::string FreshNumber(const std::string& user, const std::string& projectId,
                            const std::string& operatorValue, const std::string& province,
                            const std::string& card);

    mutable std::mutex mutex_;
    std::map<std::string, Holding> held_;  // by phone: a number is held by one user at a time
    std::map<std::string, std::set<std::string>> blacklist_;  // user -> phones
    std::map<UserProject, std::vector<std::string>> used_;    // numbers that received an SMS
    std::map<std::string, SmsPlan> smsPlans_;
    std::map<std::string, SendPlan> sendPlans_;
    std::map<std::string, std::vector<std::string>> queued_;  // project -> phones
    SmsPlan defaultSms_;
    SendPlan defaultSend_;
    int refusals_ = 0;
    std::string refusalMessage_;
    std::chrono::milliseconds replyDelay_{0};
    std::vector<DisposedNumber> disposals_;
    std::vector<SmsSubmission> submissions_;
    int serial_ = 0;
    int draws_ = 0;  // fresh numbers drawn, for the next draw
};

}  // namespace platformsim
