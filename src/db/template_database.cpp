#include "db/template_database.h"

#include <mysql.h>

#include <mutex>

#include "lanxun/build_config.h"
#include "platform/gbk.h"
#include "platform/on_ui_thread.h"
#include "platform/worker.h"

namespace lanxun {

namespace {

// The client library keeps global state that must be set up once, before any thread uses it.
void InitialiseClientLibrary() {
    static std::once_flag once;
    std::call_once(once, [] { mysql_library_init(0, nullptr, nullptr); });
}

class Connector : public Worker {
public:
    using Done = std::function<void(MYSQL*)>;
    Connector(const DatabaseSettings& settings, Done done)
        : settings_(settings), done_(std::move(done)) {}
    ~Connector() override { Stop(); }

protected:
    void Run() override {
        MYSQL* handle = mysql_init(nullptr);
        if (handle) {
            const unsigned int timeout = TemplateDatabase::kTimeoutSeconds;
            const unsigned int tcp = MYSQL_PROTOCOL_TCP;  // a host, never a local socket
            mysql_optionsv(handle, MYSQL_OPT_CONNECT_TIMEOUT, &timeout);
            mysql_optionsv(handle, MYSQL_OPT_READ_TIMEOUT, &timeout);
            mysql_optionsv(handle, MYSQL_OPT_WRITE_TIMEOUT, &timeout);
            mysql_optionsv(handle, MYSQL_OPT_PROTOCOL, &tcp);
            const QByteArray host = settings_.host.toUtf8();
            const QByteArray user = settings_.user.toUtf8();
            const QByteArray password = settings_.password.toUtf8();
            const QByteArray database = settings_.database.toUtf8();
            if (!mysql_real_connect(handle, host.constData(), user.constData(),
                                    password.constData(), database.constData(),
                                    static_cast<unsigned int>(settings_.port), nullptr, 0)) {
                mysql_close(handle);
                handle = nullptr;
            }
        }
        bool handedOver = false;
        RunOnUiThread([&] {
            done_(handle);
            handedOver = true;
        });
        if (!handedOver && handle) {
            mysql_close(handle);  // the owner is going away
        }
        mysql_thread_end();
    }

private:
    DatabaseSettings settings_;
    Done done_;
};

}  // namespace

DatabaseSettings DatabaseSettingsFor(const QString& hostAndPort) {
    DatabaseSettings settings;
    settings.host = hostAndPort;
    const qsizetype colon = hostAndPort.lastIndexOf(u':');
    if (colon >= 0) {
        settings.host = hostAndPort.left(colon);
        bool ok = false;
        const int port = hostAndPort.mid(colon + 1).toInt(&ok);
        if (ok && port > 0 && port < 65536) {
            settings.port = port;
        }
    }
    return settings;
}

DatabaseSettings BuildDatabaseSettings() {
    return DatabaseSettingsFor(QString::fromUtf8(build::kDbHost));
}

TemplateDatabase::TemplateDatabase(const DatabaseSettings& settings, QObject* parent)
    : QObject(parent) {
    InitialiseClientLibrary();
    connector_ =
        std::make_unique<Connector>(settings, [this](MYSQL* handle) { TakeConnection(handle); });
    connector_->Start();
}

TemplateDatabase::~TemplateDatabase() {
    connector_.reset();  // an attempt still under way gives up its hand-over
    if (handle_) {
        mysql_close(handle_);
    }
}

void TemplateDatabase::TakeConnection(MYSQL* handle) {
    handle_ = handle;
    connecting_ = false;
    emit ConnectAttemptEnded();
}

std::optional<QString> TemplateDatabase::Template(const QString& projectId) {
    if (!handle_) {
        return std::nullopt;
    }
    // "set names GBK", through the call that also tells the escaping below which charset the
    // statement is in (a query text alone would leave it escaping for the wrong one).
    if (mysql_set_character_set(handle_, "gbk") != 0) {
        return std::nullopt;
    }
    const QByteArray id = ToGbk(projectId);
    QByteArray escaped(id.size() * 2 + 1, '\0');
    const unsigned long length =
        mysql_real_escape_string(handle_, escaped.data(), id.constData(), id.size());
    escaped.truncate(static_cast<qsizetype>(length));
    const QByteArray statement = "select * from xiangmu_liebiao where xiangmu_id='" + escaped + "'";
    if (mysql_real_query(handle_, statement.constData(), statement.size()) != 0) {
        return std::nullopt;
    }
    MYSQL_RES* result = mysql_store_result(handle_);
    if (!result) {
        return std::nullopt;
    }
    int column = -1;
    const unsigned int columns = mysql_num_fields(result);
    const MYSQL_FIELD* fields = mysql_fetch_fields(result);
    for (unsigned int i = 0; i < columns; ++i) {
        if (qstrcmp(fields[i].name, "duanxinneirou") == 0) {
            column = static_cast<int>(i);
        }
    }
    std::optional<QString> found;
    while (MYSQL_ROW row = mysql_fetch_row(result)) {
        const unsigned long* lengths = mysql_fetch_lengths(result);
        found = column >= 0 && row[column]
                    ? FromGbk(QByteArray(row[column], static_cast<qsizetype>(lengths[column])))
                    : QString();
    }
    mysql_free_result(result);
    return found;
}

}  // namespace lanxun
