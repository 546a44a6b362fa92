#pragma once

#include <memory>

#include "db/template_database.h"

class QComboBox;
class QPlainTextEdit;

namespace lanxun {

// The project information of the tab "取号": when the user picks a project in
// 组合框_取号_项目列表, its SMS template from the platform's database goes into 编辑框2.
class TemplateLookupController {
public:
    struct Widgets {
        QComboBox* picker = nullptr;        // 组合框_取号_项目列表
        QPlainTextEdit* infoBox = nullptr;  // 编辑框2
    };

    // Opens the database connection (off the UI thread) and keeps it.
    TemplateLookupController(const Widgets& widgets, const DatabaseSettings& settings);
    ~TemplateLookupController();

    // The user picked an item: the template of its project, "没有获取到内容" for an empty one.
    // The box stays as it was for an item without a project ID (a placeholder), a project
    // without a row, and without a connection.
    void LookUp();

    TemplateDatabase& database() { return *database_; }

private:
    Widgets widgets_;
    std::unique_ptr<TemplateDatabase> database_;
};

}  // namespace lanxun
