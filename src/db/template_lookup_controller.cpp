#include "db/template_lookup_controller.h"

#include <QComboBox>
#include <QPlainTextEdit>

#include "api/pattern_matcher.h"

namespace lanxun {

TemplateLookupController::TemplateLookupController(const Widgets& widgets,
                                                   const DatabaseSettings& settings)
    : widgets_(widgets), database_(std::make_unique<TemplateDatabase>(settings)) {}

TemplateLookupController::~TemplateLookupController() = default;

void TemplateLookupController::LookUp() {
    // "[1001]微信 - {价格}：0.50": the text before the first "]", without its "[".
    PatternMatcher matcher;
    matcher.Execute(QStringLiteral("(.*?)]"), widgets_.picker->currentText());
    const QString id = matcher.SubMatchText(1, 1).remove(u'[');
    if (id.isEmpty()) {
        return;  // a placeholder item names no project
    }
    const std::optional<QString> smsTemplate = database_->Template(id);
    if (!smsTemplate) {
        return;
    }
    widgets_.infoBox->setPlainText(smsTemplate->isEmpty() ? QStringLiteral("没有获取到内容")
                                                          : *smsTemplate);
}

}  // namespace lanxun
