#pragma once

#include <QObject>
#include <QString>
#include <memory>
#include <optional>

struct st_mysql;

namespace lanxun {

class Worker;

// Where the platform's database is and how the client logs in to it.
struct DatabaseSettings {
    QString host;
    int port = 3306;
    QString user = QStringLiteral("root");
    QString password = QStringLiteral("k472915");
    QString database = QStringLiteral("ch");
};

// The settings of this build: the host of LANXUN_DB_HOST, which may carry ":port".
DatabaseSettings BuildDatabaseSettings();
// "host" or "host:port"; the port stays 3306 when none is given or it is not a number.
DatabaseSettings DatabaseSettingsFor(const QString& hostAndPort);

// The platform's database, for the SMS templates of its projects (table xiangmu_liebiao,
// column duanxinneirou, keyed by xiangmu_id). One connection, opened once and kept; it is
// never re-opened, so after a failed connect or a lost server every lookup finds nothing.
//
// Connecting happens on a thread of its own, so an unreachable host never holds up the window
// being created; until the attempt ends, lookups find nothing, exactly as without a connection.
// Every call that talks to the server is bounded by kTimeoutSeconds. UI thread only, apart from
// that connecting thread.
class TemplateDatabase : public QObject {
    Q_OBJECT

public:
    static constexpr int kTimeoutSeconds = 5;

    // Starts connecting at once.
    explicit TemplateDatabase(const DatabaseSettings& settings, QObject* parent = nullptr);
    ~TemplateDatabase() override;

    bool Connecting() const { return connecting_; }
    bool Connected() const { return handle_ != nullptr; }

    // The template of the project `projectId`: of the last row when several rows match, empty
    // for an empty or NULL column. Nothing when no row matches, on any error and without a
    // connection. The ID is escaped, so no text can change the statement.
    std::optional<QString> Template(const QString& projectId);

signals:
    // The connect attempt has ended, with or without a connection.
    void ConnectAttemptEnded();

private:
    void TakeConnection(st_mysql* handle);

    st_mysql* handle_ = nullptr;
    bool connecting_ = true;
    std::unique_ptr<Worker> connector_;
};

}  // namespace lanxun
