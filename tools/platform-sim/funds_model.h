#pragma once

// The account's money and records on the local platform: SMS details and referral income over
// many pages with their searches, withdrawals and recharges, the balance, and the payment QR
// code. Every account gets its own records the first time it is asked about; a recharge by
// order number or an accepted withdrawal changes the balance that yh_gx then answers.

#include <cstdint>
#include <map>
#include <mutex>
#include <optional>
#include <string>
#include <vector>

#include "platform_sim.h"

namespace platformsim {

// Amounts are kept in fen (hundredths of a yuan).
struct MoneyRecord {
    std::string projectId, projectName, phone, smsText, time;  // GBK
    int64_t priceFen = 0;
};

struct WithdrawalEntry {
    std::string name, account, time, result;  // GBK
    int64_t amountFen = 0;
};

struct RechargeEntry {
    std::string orderNumber, channel, time, result;  // GBK
    int64_t amountFen = 0;
};

struct AccountMoney {
    int64_t balanceFen = 0;
    int64_t withdrawableFen = 0;
    std::vector<MoneyRecord> smsRecords;       // newest first
    std::vector<MoneyRecord> referralRecords;  // newest first
    std::vector<WithdrawalEntry> withdrawals;
    std::vector<RechargeEntry> recharges;
    int64_t lastWithdrawalSecond = -1;  // of the steady clock; the 10-minute rule
};

class FundsModel {
public:
    static constexpr int kPageSize = 30;
    static constexpr int kSmsRecords = 2400;
    static constexpr int kReferralRecords = 1350;
    static constexpr char kQrErrorMarker[] = "\xFF\x7B\xE7";

    // The reply body to a request on one of the money endpoints (yh_gx, yh_mx, yh_mx_s, tj_mx,
    // tj_mx_s, tx_mx, cz_mx, sc, cx, cz_tj, tj); nothing for any other endpoint.
    std::optional<std::string> Answer(const std::string& endpoint, const std::string& target,
                                      const std::vector<Account>& accounts);

    // Replaces the money of `userName` (GBK), for tests that need a given state.
    void SetMoney(const std::string& userName, AccountMoney money);
    // The money of `userName`, made as for a first request when there is none yet.
    AccountMoney Money(const std::string& userName);
    // Forgets every account's money: the next request starts from the seed again.
    void Reset();

    // What an account starts with: the records generated for it, the figures of its sign reply.
    static AccountMoney Seed(const std::string& userName, const std::string& balance,
                             const std::string& withdrawable);
    // "12.50" from 1250.
    static std::string FenText(int64_t fen);
    // Reads a decimal amount with at most two decimals ("50", "9.5", "10.00"); nothing for any
    // other text (signs, exponents, full-width digits, three decimals).
    static std::optional<int64_t> ReadAmountFen(const std::string& text);
    // The payment text the QR code of a recharge carries.
    static std::string PaymentText(const std::string& userName, int64_t amountFen, int serial);
    // A PNG of the QR code of `text`, or empty when the text cannot be encoded.
    static std::string QrPng(const std::string& text);

private:
    AccountMoney& MoneyOf(const std::string& userName, const std::vector<Account>& accounts);

    std::mutex mutex_;
    std::map<std::string, AccountMoney> money_;
    int qrSerial_ = 0;
};

}  // namespace platformsim
