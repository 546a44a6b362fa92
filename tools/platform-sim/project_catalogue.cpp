#include "project_catalogue.h"

#include <algorithm>
#include <cctype>

#include "builtin_replies.h"
#include "sim_text.h"

namespace platformsim {

namespace {

constexpr const char* kDemoUser = "demo2026";

// A query value as the client sent it: percent-escaped UTF-8, or raw bytes.
std::string DecodedValue(const std::string& query, const std::string& key) {
    return PercentDecode(QueryValue(query, key));
}

bool IsSendProject(const SimProject& p) {
    return p.name.find("发送号码") != std::string::npos;
}

std::string Record(const std::vector<std::string>& fields) {
    std::string record;
    for (size_t i = 0; i < fields.size(); ++i) {
        record += (i ? "#c-" : "") + fields[i];
    }
    return record + "#c+";  // the platform ends every record with the separator
}

bool SameName(const std::string& a, const std::string& b) {
    return a.size() == b.size() && std::equal(a.begin(), a.end(), b.begin(), [](char x, char y) {
               return std::tolower(static_cast<unsigned char>(x)) ==
                      std::tolower(static_cast<unsigned char>(y));
           });
}

// The account's own name when the user name and password are known, else empty.
std::string Authenticate(const std::vector<Account>& accounts, const std::string& query) {
    std::string user = DecodedValue(query, "username");
    std::string password = DecodedValue(query, "password");
    std::string userGbk;
    std::string passwordGbk;
    if (!TryUtf8ToGbk(user, userGbk) || !TryUtf8ToGbk(password, passwordGbk)) {
        return {};
    }
    for (const Account& a : accounts) {
        if (SameName(a.userName, userGbk) && a.password == passwordGbk) {
            return GbkToUtf8(a.userName);
        }
    }
    return {};
}

}  // namespace

std::vector<SimProject> ProjectCatalogue::DemoProjects() {
    return {
        {"1001", "微信注册", "0.50"},
        {"1002", "QQ登录", "0.30"},
        {"1003", "抖音验证", "0.40"},
        {"1004", "淘宝注册", "0.35"},
        {"1005", "支付宝", "0.60"},
        {"1006", "京东商城", "0.30"},
        {"1007", "美团外卖", "0.25"},
        {"1008", "拼多多", "0.30"},
        {"1009", "哔哩哔哩", "0.20"},
        // "发送" without "发送号码": a receive project that the receive picker leaves out.
        {"1010", "发送验证-小红书", "0.45"},
        {"2001", "移动营业厅(发送号码:10086#10085)", "0.80"},
        {"2002", "联通服务(发送号码:10010)", "0.80"},
        {"2003", "银行提醒(发送号码:95588#95533#95599)", "1.00"},
    };
}

ProjectCatalogue::ProjectCatalogue() : projects_(DemoProjects()) {
    favourites_[kDemoUser] = {"1001", "1002", "1003", "1010", "2001", "2003"};
}

void ProjectCatalogue::SetProjects(std::vector<SimProject> projects) {
    std::lock_guard<std::mutex> lock(mutex_);
    projects_ = std::move(projects);
}

void ProjectCatalogue::SetFavourites(const std::string& userName, std::vector<std::string> ids) {
    std::lock_guard<std::mutex> lock(mutex_);
    favourites_[userName] = std::move(ids);
}

std::vector<std::string> ProjectCatalogue::Favourites(const std::string& userName) const {
    std::lock_guard<std::mutex> lock(mutex_);
    auto found = favourites_.find(userName);
    return found == favourites_.end() ? std::vector<std::string>() : found->second;
}

std::vector<ProjectApplication> ProjectCatalogue::Applications() const {
    std::lock_guard<std::mutex> lock(mutex_);
    return applications_;
}

std::optional<SimProject> ProjectCatalogue::Project(const std::string& id) const {
    std::lock_guard<std::mutex> lock(mutex_);
    const SimProject* found = Find(id);
    return found ? std::optional<SimProject>(*found) : std::nullopt;
}

const SimProject* ProjectCatalogue::Find(const std::string& id) const {
    for (const SimProject& p : projects_) {
        if (p.id == id) {
            return &p;
        }
    }
    return nullptr;
}

bool ProjectCatalogue::Reply(const std::vector<Account>& accounts, const std::string& target,
                             std::string& body) {
    if (target.empty() || target[0] != '/') {
        return false;
    }
    const size_t slash = target.find('/', 1);
    const std::string word = target.substr(1, slash == std::string::npos ? slash : slash - 1);
    const std::string query = slash == std::string::npos ? std::string() : target.substr(slash + 1);
    static const std::vector<std::string> words = {"liebiao_xm", "xiangmu_ysc", "xiangmu_shouchan",
                                                   "xiangmu_qxsc", "sq_dx"};
    if (std::find(words.begin(), words.end(), word) == words.end()) {
        return false;
    }
    const std::string user = Authenticate(accounts, query);
    if (user.empty()) {
        return false;  // as for any other unknown request: the empty reply
    }
    std::lock_guard<std::mutex> lock(mutex_);
    std::string reply;
    if (word == "liebiao_xm") {
        reply = List(user, DecodedValue(query, "ss"));
    } else if (word == "xiangmu_ysc") {
        reply = FavouriteList(user, QueryValue(query, "l") == "1");
    } else if (word == "xiangmu_shouchan") {
        reply = AddFavourite(user, DecodedValue(query, "id"));
    } else if (word == "xiangmu_qxsc") {
        reply = RemoveFavourite(user, DecodedValue(query, "id"));
    } else {
        reply = Apply(user, query);
    }
    std::string gbk;
    body = TryUtf8ToGbk(reply, gbk) ? gbk : reply;
    return true;
}

std::string ProjectCatalogue::List(const std::string& user, const std::string& search) const {
    const std::vector<std::string>& favourites =
        favourites_.count(user) ? favourites_.at(user) : std::vector<std::string>();
    std::string reply;
    for (const SimProject& p : projects_) {
        const bool matches =
            search.empty() || p.id == search || p.name.find(search) != std::string::npos;
        if (!matches) {
            continue;
        }
        const bool favourite =
            std::find(favourites.begin(), favourites.end(), p.id) != favourites.end();
        reply += Record({p.id, p.name, p.price, "1", favourite ? "1" : "0"});
    }
    return reply;
}

std::string ProjectCatalogue::FavouriteList(const std::string& user, bool sendSide) const {
    auto found = favourites_.find(user);
    if (found == favourites_.end()) {
        return {};
    }
    std::string reply;
    for (const std::string& id : found->second) {
        const SimProject* p = Find(id);
        if (p && IsSendProject(*p) == sendSide) {
            reply += Record({p->id, p->name, p->price});
        }
    }
    return reply;
}

std::string ProjectCatalogue::AddFavourite(const std::string& user, const std::string& value) {
    // "ID#c-name#c-price" in the one value; the ID decides.
    const std::string id = value.substr(0, value.find("#c-"));
    if (!Find(id)) {
        return "收藏失败，项目不存在";
    }
    std::vector<std::string>& favourites = favourites_[user];
    if (std::find(favourites.begin(), favourites.end(), id) != favourites.end()) {
        return "该项目已在收藏列表中";
    }
    favourites.push_back(id);
    return "收藏成功";
}

std::string ProjectCatalogue::RemoveFavourite(const std::string& user, const std::string& id) {
    std::vector<std::string>& favourites = favourites_[user];
    auto found = std::find(favourites.begin(), favourites.end(), id);
    if (found == favourites.end()) {
        return "取消失败，未收藏该项目";
    }
    favourites.erase(found);
    return "取消收藏成功";
}

std::string ProjectCatalogue::Apply(const std::string& user, const std::string& query) {
    ProjectApplication application;
    application.userName = user;
    application.kind = QueryValue(query, "l");
    application.name = DecodedValue(query, "m");
    application.text = DecodedValue(query, application.kind == "2" ? "hm" : "dx");
    if (application.kind != "1" && application.kind != "2") {
        return "申请类型错误";
    }
    if (application.name.empty()) {
        return "项目名称不能为空";
    }
    if (application.text.empty()) {
        return application.kind == "1" ? "短信模板不能为空" : "发送号码不能为空";
    }
    applications_.push_back(application);
    return "审核中";
}

}  // namespace platformsim
