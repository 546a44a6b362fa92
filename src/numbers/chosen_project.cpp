#include "numbers/chosen_project.h"

#include <QComboBox>
#include <QPointer>

#include "platform/on_ui_thread.h"
#include "projects/project_items.h"

namespace lanxun {

QString ChosenProjectId(QComboBox* picker) {
    const QPointer<QComboBox> box(picker);
    const QString item = ReadOnUiThread([&box] { return box ? box->currentText() : QString(); });
    const QString id = ProjectIdOfItem(item);
    return ProjectIdNumber(id) >= kLowestProjectId ? id : QString();
}

}  // namespace lanxun
