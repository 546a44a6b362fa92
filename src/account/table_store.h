#pragma once

#include <QByteArray>
#include <QDateTime>
#include <QString>
#include <QStringList>

#include <cstdint>

namespace lanxun {

// A small database on the file system: a store is a directory, a table a
// directory inside it, a record a chain of directories named after the decimal
// bytes of the record identifier's GBK form, and each field one file holding
// the value's bytes only. Nothing is cached or held open, so any number of
// objects (on any threads) may work on the same store.
//
// Paths are the client's own ("C:\设置\..."); LocalPath (platform/file_locations.h)
// maps them to this system. Every operation that fails returns false (or an
// empty text) and, where it has one, puts its error text into *error; *error is
// left alone otherwise. `error` may be nullptr.
class TableStore {
public:
    // Open when both texts are non-empty.
    bool IsOpen() const { return !root_.isEmpty() && !storeName_.isEmpty(); }
    QString Root() const { return root_; }
    QString StoreName() const { return storeName_; }

    bool CreateStore(const QString& root, const QString& name, QString* error = nullptr);
    bool OpenStore(const QString& root, const QString& name);
    bool DeleteStore(const QString& root, const QString& name) const;
    bool CreateTable(const QString& table, QString* error = nullptr) const;
    bool DeleteTable(const QString& table, QString* error = nullptr) const;
    bool DeleteField(const QString& table, const QString& record, const QString& field,
                     QString* error = nullptr) const;
    // root \ store \ table \ levels \, ending in "\"; empty on failure.
    QString RecordPath(const QString& table, const QString& record, QString* error = nullptr) const;

    bool ReadShort(const QString& table, const QString& record, const QString& field,
                   std::int16_t& value, QString* error = nullptr) const;
    bool ReadBool(const QString& table, const QString& record, const QString& field, bool& value,
                  QString* error = nullptr) const;
    bool ReadDateTime(const QString& table, const QString& record, const QString& field,
                      QDateTime& value, QString* error = nullptr) const;
    bool ReadDouble(const QString& table, const QString& record, const QString& field,
                    double& value, QString* error = nullptr) const;
    bool ReadText(const QString& table, const QString& record, const QString& field, QString& value,
                  QString* error = nullptr) const;
    bool ReadFloat(const QString& table, const QString& record, const QString& field, float& value,
                   QString* error = nullptr) const;
    bool ReadInt64(const QString& table, const QString& record, const QString& field,
                   std::int64_t& value, QString* error = nullptr) const;
    bool ReadInt(const QString& table, const QString& record, const QString& field,
                 std::int32_t& value, QString* error = nullptr) const;
    bool ReadCodeAddress(const QString& table, const QString& record, const QString& field,
                         std::uint32_t& value, QString* error = nullptr) const;
    bool ReadByte(const QString& table, const QString& record, const QString& field,
                  std::uint8_t& value, QString* error = nullptr) const;
    bool ReadBytes(const QString& table, const QString& record, const QString& field,
                   QByteArray& value, QString* error = nullptr) const;

    bool WriteShort(const QString& table, const QString& record, const QString& field,
                    std::int16_t value, QString* error = nullptr) const;
    bool WriteByte(const QString& table, const QString& record, const QString& field,
                   std::uint8_t value, QString* error = nullptr) const;
    bool WriteInt(const QString& table, const QString& record, const QString& field,
                  std::int32_t value, QString* error = nullptr) const;
    bool WriteFloat(const QString& table, const QString& record, const QString& field, float value,
                    QString* error = nullptr) const;
    bool WriteBool(const QString& table, const QString& record, const QString& field, bool value,
                   QString* error = nullptr) const;
    bool WriteText(const QString& table, const QString& record, const QString& field,
                   const QString& value, QString* error = nullptr) const;
    bool WriteBytes(const QString& table, const QString& record, const QString& field,
                    const QByteArray& value, QString* error = nullptr) const;
    bool WriteInt64(const QString& table, const QString& record, const QString& field,
                    std::int64_t value, QString* error = nullptr) const;
    bool WriteDateTime(const QString& table, const QString& record, const QString& field,
                       const QDateTime& value, QString* error = nullptr) const;
    bool WriteDouble(const QString& table, const QString& record, const QString& field,
                     double value, QString* error = nullptr) const;
    bool WriteCodeAddress(const QString& table, const QString& record, const QString& field,
                          std::uint32_t value, QString* error = nullptr) const;

    // Read, add and write back under StoreLock(). A missing or empty field file
    // is waited for like an empty one and ends in "读取失败".
    bool AddDouble(const QString& table, const QString& record, const QString& field, double amount,
                   QString* error = nullptr) const;
    bool AddInt(const QString& table, const QString& record, const QString& field,
                std::int32_t amount, QString* error = nullptr) const;

    // The directory names of a record: the decimal values of the identifier's GBK
    // bytes, two bytes to a name ("用户" gives 211195 and 187167, "abc" 9798 and 99).
    static QStringList RecordLevels(const QString& record);

    // Date-times are stored as OLE automation dates: days since 1899-12-30 00:00,
    // the fraction being the time of day (also for days before that date).
    static double ToOleDate(const QDateTime& value);
    static QDateTime FromOleDate(double days);

private:
    struct Place {
        QString tableDir;  // client path
        QStringList levels;
        QString recordDir;  // client path, without the closing "\\"
        QString fieldFile;  // local path
    };
    enum class Pause { YieldBefore, SleepAfterFailure };

    // The common checks of the record operations; on success `place` holds the
    // record directory and the field file.
    bool Locate(const QString& table, const QString& record, const QString& field,
                const QString& emptyRecordError, QString* error, Place& place) const;
    bool ReadField(const QString& table, const QString& record, const QString& field,
                   const QString& emptyRecordError, QByteArray& bytes, QString* error) const;
    bool WriteField(const QString& table, const QString& record, const QString& field,
                    const QString& emptyRecordError, const QByteArray& bytes, Pause pause,
                    QString* error) const;
    template <typename T>
    bool ReadNumber(const QString& table, const QString& record, const QString& field, T& value,
                    QString* error) const;
    template <typename T>
    bool WriteNumber(const QString& table, const QString& record, const QString& field, T value,
                     QString* error) const;
    bool Add(const QString& table, const QString& record, const QString& field, double amount,
             bool asDouble, QString* error) const;
    // Makes the record's directories, after taking the rights of others off
    // a store left by a version that did not.
    void MakeRecordDirectory(const Place& place) const;
    static bool WriteAttempts(const QString& file, const QByteArray& bytes, Pause pause,
                              QString* error);
    QString StorePath() const;
    bool CheckOpen(QString* error) const;
    bool CheckTableName(const QString& table, QString* error) const;

    QString root_;
    QString storeName_;
};

}  // namespace lanxun
