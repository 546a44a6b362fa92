#include <gtest/gtest.h>

#include <arpa/inet.h>
#include <netinet/in.h>
#include <poll.h>
#include <sys/socket.h>
#include <unistd.h>
#include <QComboBox>
#include <QFile>
#include <QPlainTextEdit>
#include <QProcess>
#include <QSignalSpy>
#include <QTemporaryDir>
#include <QTest>

#include <memory>

#include "db/template_lookup_controller.h"

namespace lanxun {
namespace {

QString U(const char* utf8) {
    return QString::fromUtf8(utf8);
}

// A loopback listener on a port of its own; it takes connections and never says a word.
class SilentListener {
public:
    SilentListener() {
        fd_ = socket(AF_INET, SOCK_STREAM | SOCK_CLOEXEC, 0);
        sockaddr_in address{};
        address.sin_family = AF_INET;
        address.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
        socklen_t length = sizeof address;
        bind(fd_, reinterpret_cast<sockaddr*>(&address), length);
        listen(fd_, 4);
        getsockname(fd_, reinterpret_cast<sockaddr*>(&address), &length);
        port_ = ntohs(address.sin_port);
    }
    ~SilentListener() { Close(); }

    int Port() const { return port_; }
    // Waits for a connection and takes it; false when none came in time.
    bool Accept(int timeoutMs) {
        pollfd waiting{fd_, POLLIN, 0};
        if (poll(&waiting, 1, timeoutMs) != 1) {
            return false;
        }
        accepted_ = accept4(fd_, nullptr, nullptr, SOCK_CLOEXEC);
        return accepted_ >= 0;
    }
    // Hangs up the connection taken and stops listening.
    void Close() {
        if (accepted_ >= 0) {
            close(accepted_);
            accepted_ = -1;
        }
        if (fd_ >= 0) {
            close(fd_);
            fd_ = -1;
        }
    }

private:
    int fd_ = -1;
    int accepted_ = -1;
    int port_ = 0;
};

// A free loopback port: bound, read and let go again.
int FreePort() {
    SilentListener probe;
    return probe.Port();
}

bool RunScript(const QStringList& arguments) {
    QProcess script;
    script.setProcessChannelMode(QProcess::ForwardedChannels);
    script.start(QStringLiteral("bash"), QStringList{TEMPLATE_DB_SCRIPT} + arguments);
    return script.waitForFinished(180000) && script.exitStatus() == QProcess::NormalExit &&
           script.exitCode() == 0;
}

// A MariaDB server with the platform's templates, run by the same script as the demo's: the
// one in `folder`, or one of its own in a temporary folder, stopped when it goes.
class TemplateServer {
public:
    explicit TemplateServer(QString folder) : folder_(std::move(folder)) {}
    TemplateServer() : own_(std::make_unique<QTemporaryDir>()), folder_(own_->path()) {
        RunScript({"start", folder_});
    }
    ~TemplateServer() {
        if (own_) {
            Stop();
        }
    }

    // 0 when no server runs there.
    int Port() const {
        QFile file(folder_ + QStringLiteral("/port"));
        return file.open(QIODevice::ReadOnly) ? file.readAll().trimmed().toInt() : 0;
    }
    bool Stop() { return RunScript({"stop", folder_}); }

    // Runs SQL as root on the server's socket, in `database`.
    void Sql(const QString& database, const QString& statements) const {
        QProcess client;
        client.setProcessChannelMode(QProcess::ForwardedChannels);
        client.start(QStringLiteral("mariadb"),
                     {"--no-defaults", "--socket=" + folder_ + "/mysqld.sock", "-u", "root",
                      "--default-character-set=utf8mb4", database, "-e", statements});
        ASSERT_TRUE(client.waitForFinished(60000));
        ASSERT_EQ(client.exitCode(), 0) << statements.toStdString();
    }

private:
    std::unique_ptr<QTemporaryDir> own_;
    QString folder_;
};

// The server that the whole test run shares when ctest started one (its folder in
// LANXUN_TEMPLATE_DB), else one of the program's own. Each test works in a database of its
// own, a copy of the platform's "ch" named after the test, so that tests running at once on
// the shared server never see each other's rows or tables.
class TemplateDbTest : public ::testing::Test {
protected:
    static void SetUpTestSuite() {
        const QString shared = qEnvironmentVariable("LANXUN_TEMPLATE_DB");
        server_ = shared.isEmpty() ? new TemplateServer : new TemplateServer(shared);
    }
    static void TearDownTestSuite() {
        delete server_;
        server_ = nullptr;
    }
    // A server that did not start fails every test (a failed suite set-up would only skip).
    void SetUp() override {
        ASSERT_NE(server_->Port(), 0) << "the template database did not start";
        database_ =
            QString::fromUtf8(::testing::UnitTest::GetInstance()->current_test_info()->name());
        server_->Sql(QStringLiteral("ch"),
                     "DROP DATABASE IF EXISTS " + database_ + "; CREATE DATABASE " + database_ +
                         " DEFAULT CHARACTER SET gbk; CREATE TABLE " + database_ +
                         ".xiangmu_liebiao LIKE xiangmu_liebiao; INSERT INTO " + database_ +
                         ".xiangmu_liebiao SELECT * FROM xiangmu_liebiao");
    }
    void TearDown() override {
        if (server_->Port() != 0) {
            server_->Sql(QStringLiteral("ch"), "DROP DATABASE IF EXISTS " + database_);
        }
    }

    void Sql(const QString& statements) { server_->Sql(database_, statements); }

    DatabaseSettings Settings() const {
        DatabaseSettings settings =
            DatabaseSettingsFor(QStringLiteral("127.0.0.1:") + QString::number(server_->Port()));
        settings.database = database_;
        return settings;
    }

    // A lookup controller whose connect attempt has ended.
    std::unique_ptr<TemplateLookupController> Connect(const DatabaseSettings& settings) {
        auto lookup = std::make_unique<TemplateLookupController>(
            TemplateLookupController::Widgets{.picker = &picker_, .infoBox = &infoBox_}, settings);
        if (lookup->database().Connecting()) {
            QSignalSpy ended(&lookup->database(), &TemplateDatabase::ConnectAttemptEnded);
            EXPECT_TRUE(ended.wait(30000));
        }
        return lookup;
    }

    // Picks `item` as the user would and returns what 编辑框2 shows afterwards.
    QString Pick(TemplateLookupController& lookup, const QString& item) {
        picker_.clear();
        picker_.addItem(item);
        picker_.setCurrentIndex(0);
        lookup.LookUp();
        return infoBox_.toPlainText();
    }

    static inline TemplateServer* server_ = nullptr;
    QString database_;
    QComboBox picker_;
    QPlainTextEdit infoBox_;
};

TEST(TemplateDbSettings, BuildSettingsTakeAPortFromTheHost) {
    const struct {
        const char* host;
        const char* expectedHost;
        int port;
    } cases[] = {{"127.0.0.1", "127.0.0.1", 3306},
                 {"127.0.0.1:33060", "127.0.0.1", 33060},
                 {"db.example:x", "db.example", 3306}};
    for (const auto& c : cases) {
        const DatabaseSettings s = DatabaseSettingsFor(U(c.host));
        EXPECT_EQ(s.host, U(c.expectedHost)) << c.host;
        EXPECT_EQ(s.port, c.port) << c.host;
        EXPECT_EQ(s.user, U("root"));
        EXPECT_EQ(s.password, U("k472915"));
        EXPECT_EQ(s.database, U("ch"));
    }
}

TEST_F(TemplateDbTest, PickingAProjectShowsItsTemplate) {
    const QString longTemplate = QString(U("验")).repeated(30000);
    // The quote's own row first: a statement the quote could change would match every row and
    // show the last one's template instead.
    Sql(U("INSERT INTO xiangmu_liebiao (xiangmu_id, duanxinneirou) VALUES "
          "('x'' or ''1''=''1', '引号'), ('3001', '第一条'), ('3001', '第二条'), "
          "('3002', NULL), ('3003', '") +
        longTemplate + U("')"));
    auto lookup = Connect(Settings());
    ASSERT_TRUE(lookup->database().Connected());

    infoBox_.setPlainText(U("之前"));
    const struct {
        const char* what;
        QString item;
        QString shown;
    } cases[] = {
        {"one row", U("[1001]微信注册 - {价格}：0.50"),
         U("【微信】你的注册验证码是352156，5分钟内有效，请勿泄露。")},
        {"no row keeps the box", U("[9999]无 - {价格}：1"),
         U("【微信】你的注册验证码是352156，5分钟内有效，请勿泄露。")},
        {"several rows: the last", U("[3001]多 - {价格}：1"), U("第二条")},
        {"a placeholder keeps the box", U("未搜索到相关项目"), U("第二条")},
        {"empty template", U("[1006]京东商城 - {价格}：0.30"), U("没有获取到内容")},
        {"NULL template", U("[3002]空 - {价格}：1"), U("没有获取到内容")},
        {"very long template", U("[3003]长 - {价格}：1"), longTemplate},
        // The quote cannot close the string: the whole text is the ID, which has its own row.
        {"a quote in the ID stays inside the ID", U("[x' or '1'='1]坏 - {价格}：1"), U("引号")},
        {"a quote that would match every row finds none", U("[' or ''=']坏 - {价格}：1"),
         U("引号")},
    };
    for (const auto& c : cases) {
        EXPECT_EQ(Pick(*lookup, c.item), c.shown) << c.what;
    }
}

TEST_F(TemplateDbTest, InvalidGbkIsShownWithReplacements) {
    Sql(
        U("CREATE TABLE raw_templates LIKE xiangmu_liebiao; "
          "ALTER TABLE raw_templates MODIFY duanxinneirou MEDIUMBLOB; "
          "INSERT INTO raw_templates (xiangmu_id, duanxinneirou) VALUES "
          "('4001', X'41FF42B0'); "
          "RENAME TABLE xiangmu_liebiao TO good_templates, raw_templates TO xiangmu_liebiao"));
    auto lookup = Connect(Settings());
    const QString shown = Pick(*lookup, U("[4001]坏 - {价格}：1"));
    Sql(
        U("RENAME TABLE xiangmu_liebiao TO raw_templates, good_templates TO xiangmu_liebiao; "
          "DROP TABLE raw_templates"));
    EXPECT_EQ(shown, U("A\uFFFDB\uFFFD"));
}

TEST_F(TemplateDbTest, WithoutAServerTheBoxNeverChanges) {
    // Nothing listens on this port: the connect fails, nothing is shown, lookups do nothing.
    auto lookup = Connect(DatabaseSettingsFor(U("127.0.0.1:") + QString::number(FreePort())));
    EXPECT_FALSE(lookup->database().Connected());
    infoBox_.setPlainText(U("之前"));
    EXPECT_EQ(Pick(*lookup, U("[1001]微信注册 - {价格}：0.50")), U("之前"));

    // A wrong password is refused the same way.
    DatabaseSettings wrong = Settings();
    wrong.password = QStringLiteral("wrong");
    auto refused = Connect(wrong);
    EXPECT_FALSE(refused->database().Connected());
}

TEST_F(TemplateDbTest, AHostThatNeverAnswersDoesNotHoldUpTheWindow) {
    SilentListener silent;  // takes the connection and never greets
    auto lookup = std::make_unique<TemplateLookupController>(
        TemplateLookupController::Widgets{.picker = &picker_, .infoBox = &infoBox_},
        DatabaseSettingsFor(U("127.0.0.1:") + QString::number(silent.Port())));
    // Back on the UI thread while the attempt still waits for the server's greeting.
    ASSERT_TRUE(silent.Accept(30000));
    EXPECT_TRUE(lookup->database().Connecting());
    infoBox_.setPlainText(U("之前"));
    EXPECT_EQ(Pick(*lookup, U("[1001]微信注册 - {价格}：0.50")), U("之前"));
    // Hanging up ends the attempt without a connection.
    QSignalSpy ended(&lookup->database(), &TemplateDatabase::ConnectAttemptEnded);
    silent.Close();
    ASSERT_TRUE(ended.wait(30000));
    EXPECT_FALSE(lookup->database().Connected());
}

// On a server of its own: the shared one stays up for the other tests.
TEST_F(TemplateDbTest, ServerStoppedInTheMiddleOfARun) {
    TemplateServer own;
    ASSERT_NE(own.Port(), 0) << "the template database did not start";
    auto lookup = Connect(DatabaseSettingsFor(U("127.0.0.1:") + QString::number(own.Port())));
    ASSERT_TRUE(lookup->database().Connected());
    EXPECT_EQ(Pick(*lookup, U("[1002]QQ登录 - {价格}：0.30")),
              U("【腾讯科技】你正在登录QQ，验证码681249，切勿告诉他人。"));
    ASSERT_TRUE(own.Stop());
    EXPECT_EQ(Pick(*lookup, U("[1001]微信注册 - {价格}：0.50")),
              U("【腾讯科技】你正在登录QQ，验证码681249，切勿告诉他人。"));
}

}  // namespace
}  // namespace lanxun
