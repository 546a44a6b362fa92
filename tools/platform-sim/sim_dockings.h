#pragma once

// The dockings of the local platform: each user's own (active or paused), the
// published ones any user may join, and a few unpublished ones a merchant hands
// out by code. Joining by code copies a docking into the user's list.

#include <map>
#include <string>
#include <vector>

#include "platform_sim.h"

namespace platformsim {

struct SimDocking {
    std::string code;         // at least 13 bytes
    std::string projectName;  // GBK; a send-SMS project's name holds "(发送"
    std::string price;
    std::string merchant;
    std::string cardCount;
    std::string projectId;
};

class DockingBook {
public:
    DockingBook();

    // True for the five docking endpoints (yh_gx is not one of them).
    static bool Handles(const std::string& word);

    // The reply (GBK) to a docking request by a user of `accounts`.
    std::string Reply(std::vector<Account>& accounts, const std::string& word,
                      const std::string& target);

    // The record texts, for tests that compare what the client shows.
    static std::string OwnRecord(const SimDocking& docking, const std::string& status);
    static std::string PublicRecord(const SimDocking& docking);

    const std::vector<SimDocking>& Published() const { return published_; }

private:
    struct Owned {
        SimDocking docking;
        std::string status;  // GBK "正常" or "暂停"
    };

    const SimDocking* Known(const std::string& code) const;
    std::vector<Owned>& ListOf(const std::string& userName);

    std::vector<SimDocking> published_;
    std::vector<SimDocking> unpublished_;
    std::map<std::string, std::vector<Owned>> own_;  // by lower-case user name
};

}  // namespace platformsim
