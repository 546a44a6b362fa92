#include "account/startup.h"

#include <QFile>
#include <QStringList>

#include "account/table_store.h"
#include "api/protocol.h"
#include "platform/file_locations.h"
#include "platform/process.h"

namespace lanxun {

namespace {

const QString kLoginTable = QStringLiteral("商户信息");
const QString kLoginRecord = QStringLiteral("用户");
const QString kLoginField = QStringLiteral("用户");

void DeleteInRunDirectory(const QString& fileName) {
    QFile::remove(Locations().RunDirectory() + u'/' + fileName);
}

}  // namespace

void DeleteOldExecutable() {
    DeleteInRunDirectory(OwnExecutableName() + ".gx");
}

void DeleteUpdateLeftovers() {
    DeleteInRunDirectory(QStringLiteral("新澄信.zip"));
    DeleteInRunDirectory(QStringLiteral("新澄信客户端.exe.gx"));
    DeleteOldExecutable();
}

void SetUpSettingsStore() {
    // Every result is ignored: an existing store still leaves the object open,
    // and existing tables are what a second start finds.
    TableStore store;
    store.CreateStore(kStoreRoot, kSettingsStore);
    for (const char* table : {"归属地", "用户", "标识", "商户信息"}) {
        store.CreateTable(QString::fromUtf8(table));
    }
    store.OpenStore(kStoreRoot, kSettingsStore);
}

QString ReadSavedLogin() {
    TableStore store;
    if (!store.OpenStore(kStoreRoot, kSettingsStore)) {
        return {};
    }
    QString saved;
    if (!store.ReadText(kLoginTable, kLoginRecord, kLoginField, saved)) {
        return {};
    }
    return saved;
}

void SaveLogin(const QString& userName, const QString& password) {
    TableStore store;
    store.OpenStore(kStoreRoot, kSettingsStore);
    store.WriteText(kLoginTable, kLoginRecord, kLoginField, userName + u'|' + password);
}

void RestoreSavedLogin(const QString& saved, QString& userName, QString& password) {
    if (saved.isEmpty()) {
        userName.clear();
        password.clear();
        return;
    }
    const QStringList parts = SplitText(saved, u"|");
    if (parts.size() >= 2) {
        userName = parts[0];
        password = parts[1];
    }
}

}  // namespace lanxun
