#include "account/forum_link.h"

#include <QUrl>

#include "lanxun/build_config.h"
#include "platform/shell_open.h"

namespace lanxun {

void OpenForumPage() {
    Shell().Open(QUrl(QString::fromUtf8(build::kForumUrl)));
}

}  // namespace lanxun
