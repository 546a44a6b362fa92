#include "account/table_store.h"

#include <QDir>
#include <QDirIterator>
#include <QFile>
#include <QFileInfo>
#include <QSaveFile>
#include <QThread>
#include <QtEndian>

#include <algorithm>
#include <bit>
#include <cmath>
#include <cstring>
#include <limits>
#include <mutex>
#include <type_traits>

#include "account/store_lock.h"
#include "platform/clock.h"
#include "platform/file_locations.h"
#include "platform/gbk.h"

namespace lanxun {

namespace {

constexpr int kReadAttempts = 100;
constexpr int kWriteAttempts = 99;

const QString kFieldSuffix = QStringLiteral(".数据");

// The store holds the saved login: only its owner may read it, whatever the umask.
constexpr QFile::Permissions kOwnerRights = QFile::ReadOwner | QFile::WriteOwner | QFile::ExeOwner;
constexpr QFile::Permissions kOthersRights = QFile::ReadGroup | QFile::WriteGroup |
                                             QFile::ExeGroup | QFile::ReadOther |
                                             QFile::WriteOther | QFile::ExeOther;
constexpr QFile::Permissions kPrivateFile = QFile::ReadOwner | QFile::WriteOwner;

// Made private from the start; the umask can only take rights away, so the
// rights are set once more for a umask that took the owner's.
bool MakePrivateDirectory(const QString& path) {
    if (!QDir().mkdir(path, kOwnerRights)) {
        return false;
    }
    QFile::setPermissions(path, kOwnerRights);
    return true;
}

bool OpenToOthers(const QString& path) {
    return QFile::permissions(path) & kOthersRights;
}

// Group and other rights off; the owner's stay as they are, so a folder made
// read-only on purpose stays read-only.
void TakeOthersRightsOff(const QString& path) {
    const QFile::Permissions rights = QFile::permissions(path);
    if (rights & kOthersRights) {
        QFile::setPermissions(path, rights & kOwnerRights);
    }
}

// A store written by an earlier version has its folders and files open to
// everyone; the first save takes that off everything in it. Links are left
// alone: their targets are not the store's.
void MakeStorePrivate(const QString& storePath) {
    if (!OpenToOthers(storePath)) {
        return;
    }
    QDirIterator it(
        storePath,
        QDir::AllEntries | QDir::Hidden | QDir::System | QDir::NoDotAndDotDot | QDir::NoSymLinks,
        QDirIterator::Subdirectories);
    while (it.hasNext()) {
        TakeOthersRightsOff(it.next());
    }
    TakeOthersRightsOff(storePath);
}

// root \ name, without doubling a separator the root already ends with.
QString Join(const QString& root, const QString& name) {
    if (root.isEmpty()) {
        return name;
    }
    if (root.endsWith(u'\\') || root.endsWith(u'/')) {
        return root + name;
    }
    return root + u'\\' + name;
}

// Names that would step out of their parent directory or into another one.
bool HasSpecialCharacter(const QString& name) {
    return name.contains(u'|') || name.contains(u'\\') || name.contains(u'/') || name == "." ||
           name == "..";
}

void SetError(QString* error, const QString& text) {
    if (error) {
        *error = text;
    }
}

QByteArray ReadWholeFile(const QString& path) {
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly)) {
        return {};
    }
    return file.readAll();
}

// The file's bytes as a fixed-size value: missing bytes are zero, extra ones ignored.
template <typename T>
T FromBytes(const QByteArray& bytes) {
    unsigned char raw[sizeof(T)] = {};
    std::memcpy(raw, bytes.constData(), std::min<size_t>(sizeof(T), bytes.size()));
    if constexpr (std::is_same_v<T, float>) {
        return std::bit_cast<float>(qFromLittleEndian<quint32>(raw));
    } else if constexpr (std::is_same_v<T, double>) {
        return std::bit_cast<double>(qFromLittleEndian<quint64>(raw));
    } else {
        return qFromLittleEndian<T>(raw);
    }
}

template <typename T>
QByteArray ToBytes(T value) {
    QByteArray bytes(sizeof(T), Qt::Uninitialized);
    if constexpr (std::is_same_v<T, float>) {
        qToLittleEndian(std::bit_cast<quint32>(value), bytes.data());
    } else if constexpr (std::is_same_v<T, double>) {
        qToLittleEndian(std::bit_cast<quint64>(value), bytes.data());
    } else {
        qToLittleEndian(value, bytes.data());
    }
    return bytes;
}

// The value of a field file for the add operations. The file carries no type,
// so its size tells: 1 byte, 2 bytes short, 4 bytes int (AddDouble: float),
// 8 bytes int64 (AddDouble: double); other sizes are read as the next larger.
double StoredNumber(const QByteArray& bytes, bool asDouble) {
    const qsizetype size = bytes.size();
    if (size == 1) {
        return FromBytes<quint8>(bytes);
    }
    if (size == 2) {
        return FromBytes<qint16>(bytes);
    }
    if (size <= 4) {
        return asDouble ? double(FromBytes<float>(bytes)) : double(FromBytes<qint32>(bytes));
    }
    return asDouble ? FromBytes<double>(bytes) : double(FromBytes<qint64>(bytes));
}

qint32 RoundToInt(double value) {
    constexpr double low = std::numeric_limits<qint32>::min();
    constexpr double high = std::numeric_limits<qint32>::max();
    return qint32(std::round(std::clamp(value, low, high)));
}

const QDate kOleEpoch(1899, 12, 30);
constexpr qint64 kMsPerDay = 86400000;
// The range of OLE dates (years 100 to 9999).
constexpr double kOleLowest = -657434.0;
constexpr double kOleHighest = 2958466.0;

}  // namespace

// ---- stores and tables ----

QString TableStore::StorePath() const {
    return Join(root_, storeName_);
}

bool TableStore::CheckOpen(QString* error) const {
    if (root_.isEmpty()) {
        SetError(error, "库没有打开");
        return false;
    }
    if (storeName_.isEmpty()) {
        SetError(error, "库不存在");
        return false;
    }
    return true;
}

bool TableStore::CheckTableName(const QString& table, QString* error) const {
    if (table.isEmpty()) {
        SetError(error, "表名长度不能低于1字节");
        return false;
    }
    if (HasSpecialCharacter(table)) {
        SetError(error, "表名不能使用特殊符号");
        return false;
    }
    return true;
}

bool TableStore::CreateStore(const QString& root, const QString& name, QString* error) {
    if (name.isEmpty()) {
        SetError(error, "0001|数据库名必须1字节以上");
        return false;
    }
    root_ = root;
    storeName_ = name;
    return MakePrivateDirectory(LocalPath(StorePath()));
}

bool TableStore::OpenStore(const QString& root, const QString& name) {
    if (!QFileInfo(LocalPath(Join(root, name))).isDir()) {
        return false;
    }
    root_ = root;
    storeName_ = name;
    return true;
}

bool TableStore::DeleteStore(const QString& root, const QString& name) const {
    if (name.isEmpty() || HasSpecialCharacter(name)) {
        return false;
    }
    const QString path = LocalPath(Join(root, name));
    if (!QFileInfo(path).isDir()) {
        return false;
    }
    return QDir(path).removeRecursively();
}

bool TableStore::CreateTable(const QString& table, QString* error) const {
    if (!CheckOpen(error) || !CheckTableName(table, error)) {
        return false;
    }
    const QString path = LocalPath(Join(StorePath(), table));
    if (QFileInfo::exists(path)) {
        SetError(error, "表已存在");
        return false;
    }
    if (!MakePrivateDirectory(path)) {
        SetError(error, "创建表失败");
        return false;
    }
    return true;
}

bool TableStore::DeleteTable(const QString& table, QString* error) const {
    if (!CheckOpen(error) || !CheckTableName(table, error)) {
        return false;
    }
    const QString path = LocalPath(Join(StorePath(), table));
    if (!QFileInfo(path).isDir()) {
        SetError(error, "表不存在");
        return false;
    }
    return QDir(path).removeRecursively();
}

// ---- records ----

QStringList TableStore::RecordLevels(const QString& record) {
    const QByteArray bytes = ToGbk(record);
    QStringList levels;
    for (qsizetype i = 0; i < bytes.size(); i += 2) {
        QString level = QString::number(quint8(bytes[i]));
        if (i + 1 < bytes.size()) {
            level += QString::number(quint8(bytes[i + 1]));
        }
        levels.append(level);
    }
    return levels;
}

bool TableStore::Locate(const QString& table, const QString& record, const QString& field,
                        const QString& emptyRecordError, QString* error, Place& place) const {
    if (!CheckOpen(error)) {
        return false;
    }
    if (table.isEmpty()) {
        SetError(error, "表不存在");
        return false;
    }
    if (record.isEmpty()) {
        if (!emptyRecordError.isEmpty()) {
            SetError(error, emptyRecordError);
        }
        return false;
    }
    place.tableDir = Join(StorePath(), table);
    place.levels = RecordLevels(record);
    place.recordDir = place.tableDir;
    for (const QString& level : place.levels) {
        place.recordDir += u'\\' + level;
    }
    place.fieldFile = LocalPath(place.recordDir + u'\\' + field + kFieldSuffix);
    return true;
}

QString TableStore::RecordPath(const QString& table, const QString& record, QString* error) const {
    Place place;
    if (!Locate(table, record, QString(), {}, error, place)) {
        return {};
    }
    return place.recordDir + u'\\';
}

void TableStore::MakeRecordDirectory(const Place& place) const {
    MakeStorePrivate(LocalPath(StorePath()));
    QString dir = place.tableDir;
    if (QFileInfo(LocalPath(place.recordDir)).isDir()) {
        return;
    }
    // One level at a time from the top; the table directory itself is not made.
    for (const QString& level : place.levels) {
        dir += u'\\' + level;
        MakePrivateDirectory(LocalPath(dir));
    }
}

bool TableStore::DeleteField(const QString& table, const QString& record, const QString& field,
                             QString* error) const {
    Place place;
    if (!Locate(table, record, field, {}, error, place)) {
        return false;
    }
    // Overwritten first, so that a reader that still finds the file gets a marker
    // rather than the old value.
    QFile file(place.fieldFile);
    if (file.open(QIODevice::WriteOnly | QIODevice::Truncate)) {
        file.write(ToGbk(QStringLiteral("空")));
        file.close();
    }
    return QFile::remove(place.fieldFile);
}

// ---- reads ----

bool TableStore::ReadField(const QString& table, const QString& record, const QString& field,
                           const QString& emptyRecordError, QByteArray& bytes,
                           QString* error) const {
    Place place;
    if (!Locate(table, record, field, emptyRecordError, error, place)) {
        return false;
    }
    if (!QFileInfo::exists(place.fieldFile)) {
        SetError(error, "不存在");
        return false;
    }
    // An empty file is another writer's write in progress: wait for its bytes.
    // A file that cannot be read (a directory, no rights) reads as empty.
    for (int attempt = 0; attempt < kReadAttempts; ++attempt) {
        QByteArray content = ReadWholeFile(place.fieldFile);
        if (!content.isEmpty()) {
            bytes = std::move(content);
            return true;
        }
        QThread::msleep(1);
    }
    SetError(error, "读取失败");
    return false;
}

template <typename T>
bool TableStore::ReadNumber(const QString& table, const QString& record, const QString& field,
                            T& value, QString* error) const {
    QByteArray bytes;
    if (!ReadField(table, record, field, {}, bytes, error)) {
        return false;
    }
    value = FromBytes<T>(bytes);
    return true;
}

bool TableStore::ReadShort(const QString& table, const QString& record, const QString& field,
                           std::int16_t& value, QString* error) const {
    return ReadNumber(table, record, field, value, error);
}

bool TableStore::ReadBool(const QString& table, const QString& record, const QString& field,
                          bool& value, QString* error) const {
    qint32 number = 0;
    if (!ReadNumber(table, record, field, number, error)) {
        return false;
    }
    value = number != 0;
    return true;
}

bool TableStore::ReadDateTime(const QString& table, const QString& record, const QString& field,
                              QDateTime& value, QString* error) const {
    if (IsOpen() && !table.isEmpty() && record.isEmpty()) {
        value = CurrentClock().Now();
    }
    QByteArray bytes;
    if (!ReadField(table, record, field, QStringLiteral("标识错误"), bytes, error)) {
        return false;
    }
    value = FromOleDate(FromBytes<double>(bytes));
    return true;
}

bool TableStore::ReadDouble(const QString& table, const QString& record, const QString& field,
                            double& value, QString* error) const {
    return ReadNumber(table, record, field, value, error);
}

bool TableStore::ReadText(const QString& table, const QString& record, const QString& field,
                          QString& value, QString* error) const {
    QByteArray bytes;
    if (!ReadField(table, record, field, QStringLiteral("标识无效"), bytes, error)) {
        return false;
    }
    value = FromGbkUntilZero(bytes);
    return true;
}

bool TableStore::ReadFloat(const QString& table, const QString& record, const QString& field,
                           float& value, QString* error) const {
    return ReadNumber(table, record, field, value, error);
}

bool TableStore::ReadInt64(const QString& table, const QString& record, const QString& field,
                           std::int64_t& value, QString* error) const {
    return ReadNumber(table, record, field, value, error);
}

bool TableStore::ReadInt(const QString& table, const QString& record, const QString& field,
                         std::int32_t& value, QString* error) const {
    return ReadNumber(table, record, field, value, error);
}

bool TableStore::ReadCodeAddress(const QString& table, const QString& record, const QString& field,
                                 std::uint32_t& value, QString* error) const {
    return ReadNumber(table, record, field, value, error);
}

bool TableStore::ReadByte(const QString& table, const QString& record, const QString& field,
                          std::uint8_t& value, QString* error) const {
    return ReadNumber(table, record, field, value, error);
}

bool TableStore::ReadBytes(const QString& table, const QString& record, const QString& field,
                           QByteArray& value, QString* error) const {
    return ReadField(table, record, field, {}, value, error);
}

// ---- writes ----

bool TableStore::WriteAttempts(const QString& file, const QByteArray& bytes, Pause pause,
                               QString* error) {
    for (int attempt = 0; attempt < kWriteAttempts; ++attempt) {
        if (pause == Pause::YieldBefore) {
            QThread::yieldCurrentThread();
        }
        // The new content replaces the old in one rename, so a reader sees
        // either the old value or the new one, never a part of it.
        // The flush is checked on its own: a full disk shows only there, and commit()
        // would let it pass and put an empty file in place of the old value.
        // A new file would get the umask's rights; an old one keeps its own,
        // which the store has already made private.
        const bool isNew = !QFileInfo::exists(file);
        QSaveFile out(file);
        if (out.open(QIODevice::WriteOnly) && (!isNew || out.setPermissions(kPrivateFile)) &&
            out.write(bytes) == bytes.size() && out.flush() && out.commit()) {
            return true;
        }
        if (pause == Pause::SleepAfterFailure) {
            QThread::msleep(1);
        }
    }
    SetError(error, "写入失败");
    return false;
}

bool TableStore::WriteField(const QString& table, const QString& record, const QString& field,
                            const QString& emptyRecordError, const QByteArray& bytes, Pause pause,
                            QString* error) const {
    Place place;
    if (!Locate(table, record, field, emptyRecordError, error, place)) {
        return false;
    }
    MakeRecordDirectory(place);
    return WriteAttempts(place.fieldFile, bytes, pause, error);
}

template <typename T>
bool TableStore::WriteNumber(const QString& table, const QString& record, const QString& field,
                             T value, QString* error) const {
    return WriteField(table, record, field, QStringLiteral("标识无效"), ToBytes(value),
                      Pause::YieldBefore, error);
}

bool TableStore::WriteShort(const QString& table, const QString& record, const QString& field,
                            std::int16_t value, QString* error) const {
    return WriteNumber(table, record, field, value, error);
}

bool TableStore::WriteByte(const QString& table, const QString& record, const QString& field,
                           std::uint8_t value, QString* error) const {
    return WriteNumber(table, record, field, value, error);
}

bool TableStore::WriteInt(const QString& table, const QString& record, const QString& field,
                          std::int32_t value, QString* error) const {
    return WriteNumber(table, record, field, value, error);
}

bool TableStore::WriteFloat(const QString& table, const QString& record, const QString& field,
                            float value, QString* error) const {
    return WriteNumber(table, record, field, value, error);
}

bool TableStore::WriteBool(const QString& table, const QString& record, const QString& field,
                           bool value, QString* error) const {
    return WriteNumber(table, record, field, qint32(value ? 1 : 0), error);
}

bool TableStore::WriteText(const QString& table, const QString& record, const QString& field,
                           const QString& value, QString* error) const {
    if (value.isEmpty()) {
        SetError(error, "禁止空数据");
        return false;
    }
    return WriteField(table, record, field, QStringLiteral("表标识无效"), ToGbk(value),
                      Pause::SleepAfterFailure, error);
}

bool TableStore::WriteBytes(const QString& table, const QString& record, const QString& field,
                            const QByteArray& value, QString* error) const {
    Place place;
    if (!Locate(table, record, field, {}, error, place)) {
        return false;
    }
    if (value.isEmpty()) {
        SetError(error, "禁止空数据");
        return false;
    }
    MakeRecordDirectory(place);
    return WriteAttempts(place.fieldFile, value, Pause::YieldBefore, error);
}

bool TableStore::WriteInt64(const QString& table, const QString& record, const QString& field,
                            std::int64_t value, QString* error) const {
    return WriteNumber(table, record, field, value, error);
}

bool TableStore::WriteDateTime(const QString& table, const QString& record, const QString& field,
                               const QDateTime& value, QString* error) const {
    return WriteNumber(table, record, field, ToOleDate(value), error);
}

bool TableStore::WriteDouble(const QString& table, const QString& record, const QString& field,
                             double value, QString* error) const {
    return WriteNumber(table, record, field, value, error);
}

bool TableStore::WriteCodeAddress(const QString& table, const QString& record, const QString& field,
                                  std::uint32_t value, QString* error) const {
    return WriteNumber(table, record, field, value, error);
}

// ---- adds ----

bool TableStore::Add(const QString& table, const QString& record, const QString& field,
                     double amount, bool asDouble, QString* error) const {
    Place place;
    if (!Locate(table, record, field, QStringLiteral("标识无效"), error, place)) {
        return false;
    }
    MakeRecordDirectory(place);

    std::lock_guard<std::mutex> guard(StoreLock());
    QByteArray bytes;
    for (int attempt = 0; attempt < kReadAttempts && bytes.isEmpty(); ++attempt) {
        bytes = ReadWholeFile(place.fieldFile);
        if (bytes.isEmpty()) {
            QThread::msleep(1);
        }
    }
    if (bytes.isEmpty()) {
        SetError(error, "读取失败");
        return false;
    }
    const double sum = StoredNumber(bytes, asDouble) + amount;
    const QByteArray result = asDouble ? ToBytes(sum) : ToBytes(RoundToInt(sum));
    return WriteAttempts(place.fieldFile, result, Pause::YieldBefore, error);
}

bool TableStore::AddDouble(const QString& table, const QString& record, const QString& field,
                           double amount, QString* error) const {
    return Add(table, record, field, amount, true, error);
}

bool TableStore::AddInt(const QString& table, const QString& record, const QString& field,
                        std::int32_t amount, QString* error) const {
    return Add(table, record, field, amount, false, error);
}

// ---- date-times ----

double TableStore::ToOleDate(const QDateTime& value) {
    if (!value.isValid()) {
        return 0.0;
    }
    const QDateTime local = value.toLocalTime();
    const double days = double(kOleEpoch.daysTo(local.date()));
    const double fraction = double(local.time().msecsSinceStartOfDay()) / double(kMsPerDay);
    // Before the epoch the day count is negative but the time still counts forward.
    return days >= 0 ? days + fraction : days - fraction;
}

QDateTime TableStore::FromOleDate(double value) {
    if (!std::isfinite(value) || value < kOleLowest || value >= kOleHighest) {
        return {};
    }
    qint64 days = qint64(std::trunc(value));
    qint64 ms = std::llround(std::fabs(value - double(days)) * double(kMsPerDay));
    if (ms >= kMsPerDay) {
        ms -= kMsPerDay;
        days += 1;
    }
    return QDateTime(kOleEpoch.addDays(days), QTime::fromMSecsSinceStartOfDay(int(ms)));
}

}  // namespace lanxun
