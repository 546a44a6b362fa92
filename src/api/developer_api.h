#pragma once

// The platform's developer API, kept as data for the documentation shown in
// the window "岚讯API对接". The client never calls it.

#include <QList>
#include <QString>
#include <QStringList>

namespace lanxun {

inline constexpr int kDeveloperApiPort = 8000;

struct DeveloperApiParameter {
    QString key;      // "username", "token", ...
    QString example;  // the value shown in the example URL
    QString meaning;
};

struct DeveloperApiEndpoint {
    QString section;                          // "用户登陆", "查询余额", ...
    QString endpoint;                         // "sign", "yh_gx", ...
    QList<DeveloperApiParameter> parameters;  // in the order of the URL
    QString successData;                      // what follows "1|" on success
    QStringList notes;                        // rules of this call
};

// The seven calls in the order of the documentation.
const QList<DeveloperApiEndpoint>& DeveloperApiTable();

// "http://" + host + ":8000/api/" + endpoint + "/" + the example pairs. A port
// carried by `platformHost` is replaced by the API's own.
QString DeveloperApiExampleUrl(const QString& platformHost, const DeveloperApiEndpoint& endpoint);

// The whole documentation as plain text.
QString DeveloperApiText(const QString& platformHost);

}  // namespace lanxun
