// Saves one login over and over into the table store under a given drive folder, reading
// it back after each save, as a second client on the same machine would. Exits 0 when
// every read gave a whole login (its own or the other writer's), 1 at the first one that
// did not, printing it.
//
// store_writer <drive folder> <user name> <count> <other user name>

#include <QCoreApplication>
#include <QString>

#include <cstdio>

#include "account/startup.h"
#include "platform/file_locations.h"

namespace {

class DriveAt : public lanxun::FileLocations {
public:
    explicit DriveAt(QString drive) : drive_(std::move(drive)) {}
    QString DriveRoot() const override { return drive_; }
    QString RunDirectory() const override { return drive_; }

private:
    QString drive_;
};

}  // namespace

int main(int argc, char** argv) {
    QCoreApplication app(argc, argv);
    const QStringList args = app.arguments();
    if (args.size() != 5) {
        std::fprintf(stderr, "usage: store_writer <drive> <user> <count> <other user>\n");
        return 2;
    }
    DriveAt drive(args[1]);
    lanxun::InstallFileLocations(&drive);
    const QString mine = args[2] + QStringLiteral("|pw-") + args[2];
    const QString theirs = args[4] + QStringLiteral("|pw-") + args[4];
    const int count = args[3].toInt();
    for (int i = 0; i < count; ++i) {
        lanxun::SaveLogin(args[2], QStringLiteral("pw-") + args[2]);
        const QString saved = lanxun::ReadSavedLogin();
        if (saved != mine && saved != theirs) {
            std::fprintf(stderr, "read back \"%s\" after save %d\n", qPrintable(saved), i);
            return 1;
        }
    }
    lanxun::InstallFileLocations(nullptr);
    return 0;
}
