#pragma once

// The platform's project catalogue: receive-SMS and send-SMS projects (a send project's name
// carries "(发送号码:...)" with its sending numbers), each user's favourites, the search by
// keyword or ID, and the project applications received. Serves liebiao_xm, xiangmu_ysc,
// xiangmu_shouchan, xiangmu_qxsc and sq_dx on the project line.

#include <map>
#include <mutex>
#include <optional>
#include <string>
#include <vector>

#include "platform_sim.h"

namespace platformsim {

struct SimProject {
    std::string id;  // UTF-8, like every text below; replies go out in GBK
    std::string name;
    std::string price;
};

struct ProjectApplication {
    std::string userName;
    std::string kind;  // "1" receive-SMS, "2" send-SMS
    std::string name;
    std::string text;  // the SMS template, or the sending numbers separated by "#"
};

class ProjectCatalogue {
public:
    ProjectCatalogue();  // the demo projects, and the demo user's favourites

    // The GBK reply to a project-line target; false when the target is none of the
    // catalogue's endpoints or its user name and password are not those of a known account.
    bool Reply(const std::vector<Account>& accounts, const std::string& target, std::string& body);

    void SetProjects(std::vector<SimProject> projects);
    // The user's favourites by project ID, oldest first.
    void SetFavourites(const std::string& userName, std::vector<std::string> ids);
    std::vector<std::string> Favourites(const std::string& userName) const;
    std::vector<ProjectApplication> Applications() const;
    // The project with this ID, if the catalogue has one.
    std::optional<SimProject> Project(const std::string& id) const;

    static std::vector<SimProject> DemoProjects();

private:
    std::string List(const std::string& user, const std::string& search) const;
    std::string FavouriteList(const std::string& user, bool sendSide) const;
    std::string AddFavourite(const std::string& user, const std::string& value);
    std::string RemoveFavourite(const std::string& user, const std::string& id);
    std::string Apply(const std::string& user, const std::string& query);
    const SimProject* Find(const std::string& id) const;

    mutable std::mutex mutex_;
    std::vector<SimProject> projects_;
    std::map<std::string, std::vector<std::string>> favourites_;
    std::vector<ProjectApplication> applications_;
};

}  // namespace platformsim
