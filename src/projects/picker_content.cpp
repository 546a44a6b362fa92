#include "projects/picker_content.h"

#include <algorithm>

#include "api/replies.h"
#include "projects/project_items.h"

namespace lanxun {

namespace {

struct Project {
    QString id;
    QString name;
    QString price;
};

QList<Project> Favourites(QStringView reply) {
    QList<Project> projects;
    for (const FavouriteRecord& r : ReadFavouriteList(reply)) {
        projects.append({r.id, r.name, r.price});
    }
    // The pickers list the favourites newest first: the reply's last record on top.
    std::reverse(projects.begin(), projects.end());
    return projects;
}

QList<Project> SearchResults(QStringView reply) {
    QList<Project> projects;
    for (const ProjectRecord& r : ReadProjectList(reply)) {
        projects.append({r.id, r.name, r.price});
    }
    return projects;
}

ReceivePickerContent ReceiveContent(const QList<Project>& projects, const char16_t* placeholder) {
    ReceivePickerContent content;
    for (const Project& p : projects) {
        if (AdmittedToReceivePicker(p.name)) {
            content.items.append(ReceivePickerItem(p.id, p.name, p.price));
        }
    }
    if (content.items.isEmpty()) {
        content.items.append(QString::fromUtf16(placeholder));
    }
    return content;
}

SendPickerContent SendContent(const QList<Project>& projects) {
    SendPickerContent content;
    for (const Project& p : projects) {
        if (!IsSendSmsProjectName(p.name)) {
            continue;
        }
        content.sendProjectList += p.name + QStringLiteral("\r\n");
        content.sendingNumbers += SendingNumbers(p.name);
        content.items.append(SendPickerItem(p.id, p.name, p.price));
    }
    content.hasProjects = !content.items.isEmpty();
    if (!content.hasProjects) {
        // A search that finds nothing says so with the favourites' text, as the platform's
        // own client does.
        content.items.append(QString::fromUtf16(kSendPlaceholder));
    }
    return content;
}

}  // namespace

ReceivePickerContent ReceivePickerFromFavourites(QStringView reply) {
    return ReceiveContent(Favourites(reply), kReceiveFavouritesPlaceholder);
}

ReceivePickerContent ReceivePickerFromSearch(QStringView reply) {
    return ReceiveContent(SearchResults(reply), kReceiveSearchPlaceholder);
}

SendPickerContent SendPickerFromFavourites(QStringView reply) {
    return SendContent(Favourites(reply));
}

SendPickerContent SendPickerFromSearch(QStringView reply) {
    return SendContent(SearchResults(reply));
}

}  // namespace lanxun
