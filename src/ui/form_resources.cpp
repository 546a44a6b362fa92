#include "ui/form_resources.h"

#include <QtGlobal>

// Outside the namespace, as Q_INIT_RESOURCE requires.
static void InitFormResources() {
    Q_INIT_RESOURCE(resources);
}

namespace lanxun {

void LoadFormResources() {
    static const bool loaded = [] {
        InitFormResources();
        return true;
    }();
    (void)loaded;
}

}  // namespace lanxun
