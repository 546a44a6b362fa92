#include <gtest/gtest.h>

#include <QAction>
#include <QCheckBox>
#include <QComboBox>
#include <QGroupBox>
#include <QHeaderView>
#include <QLabel>
#include <QLineEdit>
#include <QMenu>
#include <QPlainTextEdit>
#include <QPointer>
#include <QProgressBar>
#include <QPushButton>
#include <QRadioButton>
#include <QRegularExpression>
#include <QStatusBar>
#include <QStyle>
#include <QTabBar>
#include <QTabWidget>
#include <QTimer>
#include <QTreeWidget>
#include <cstdlib>
#include <memory>

#include "support/fake_services.h"
#include "ui/cursors.h"
#include "ui/form_finishing.h"
#include "ui/forms.h"
#include "ui/inventory_table.h"
#include "ui/main_window.h"
#include "ui/status_bar.h"

namespace lanxun {
namespace {

using inventory::Control;
using inventory::kAny;
using inventory::Kind;

QString Utf8(const char* text) {
    return QString::fromUtf8(text);
}

// A form as a window class gets it: setupUi, then FinishForm.
std::unique_ptr<QWidget> MakeForm(const inventory::Window& window) {
    auto widget = std::make_unique<QWidget>();
    const FormDefinition* form = FindForm(QLatin1String(window.form));
    EXPECT_NE(form, nullptr) << window.form;
    if (form != nullptr) {
        SetUpFormOnly(*form, widget.get());
    }
    return widget;
}

// The widget a control must sit in: the window, a named group box, or page N of a page control.
QWidget* Container(QWidget* window, const char* container) {
    if (container == nullptr) {
        return window;
    }
    const QStringList parts = Utf8(container).split(QLatin1Char(':'));
    if (parts.size() == 1) {
        return window->findChild<QWidget*>(parts[0]);
    }
    auto* pages = window->findChild<QTabWidget*>(parts[0]);
    return pages == nullptr ? nullptr : pages->widget(parts[1].toInt());
}

QString TextOf(QWidget* widget) {
    if (auto* edit = qobject_cast<QLineEdit*>(widget)) {
        return edit->text();
    }
    if (auto* memo = qobject_cast<QPlainTextEdit*>(widget)) {
        return memo->toPlainText();
    }
    if (auto* button = qobject_cast<QAbstractButton*>(widget)) {
        return button->text();
    }
    if (auto* label = qobject_cast<QLabel*>(widget)) {
        return label->text();
    }
    if (auto* group = qobject_cast<QGroupBox*>(widget)) {
        return group->title();
    }
    return {};
}

QStringList Items(QWidget* widget) {
    QStringList items;
    if (auto* combo = qobject_cast<QComboBox*>(widget)) {
        for (int i = 0; i < combo->count(); ++i) {
            items << combo->itemText(i);
        }
    }
    if (auto* pages = qobject_cast<QTabWidget*>(widget)) {
        for (int i = 0; i < pages->count(); ++i) {
            items << pages->tabText(i);
        }
    }
    return items;
}

void ExpectKind(QWidget* widget, Kind kind) {
    auto* label = qobject_cast<QLabel*>(widget);
    auto* button = qobject_cast<QPushButton*>(widget);
    switch (kind) {
        case Kind::EditBox:
            EXPECT_TRUE(qobject_cast<QLineEdit*>(widget) || qobject_cast<QPlainTextEdit*>(widget));
            if (auto* edit = qobject_cast<QLineEdit*>(widget)) {
                EXPECT_EQ(edit->echoMode(), QLineEdit::Normal);
            }
            break;
        case Kind::MultiLineEdit:
            EXPECT_NE(qobject_cast<QPlainTextEdit*>(widget), nullptr);
            break;
        case Kind::PasswordEdit: {
            auto* edit = qobject_cast<QLineEdit*>(widget);
            ASSERT_NE(edit, nullptr);
            EXPECT_EQ(edit->echoMode(), QLineEdit::Password);
            EXPECT_EQ(
                edit->style()->styleHint(QStyle::SH_LineEdit_PasswordCharacter, nullptr, edit),
                '*');
            break;
        }
        case Kind::Button:
            ASSERT_NE(button, nullptr);
            EXPECT_FALSE(button->isFlat());
            break;
        case Kind::SuperButton:
            ASSERT_NE(button, nullptr);
            EXPECT_TRUE(button->isFlat());
            break;
        case Kind::CheckBox:
            EXPECT_NE(qobject_cast<QCheckBox*>(widget), nullptr);
            break;
        case Kind::RadioButton:
            ASSERT_NE(qobject_cast<QRadioButton*>(widget), nullptr);
            EXPECT_FALSE(qobject_cast<QRadioButton*>(widget)->isChecked());
            break;
        case Kind::ComboBox:
            EXPECT_NE(qobject_cast<QComboBox*>(widget), nullptr);
            break;
        case Kind::Label:
            ASSERT_NE(label, nullptr);
            EXPECT_TRUE(label->autoFillBackground());
            break;
        case Kind::TransparentLabel:
            ASSERT_NE(label, nullptr);
            EXPECT_FALSE(label->autoFillBackground());
            break;
        case Kind::PictureBox:
            ASSERT_NE(label, nullptr);
            EXPECT_TRUE(label->text().isEmpty());
            break;
        case Kind::GroupBox:
            EXPECT_NE(qobject_cast<QGroupBox*>(widget), nullptr);
            break;
        case Kind::ProgressBar:
            EXPECT_NE(qobject_cast<QProgressBar*>(widget), nullptr);
            break;
        case Kind::ListView: {
            auto* list = qobject_cast<QTreeWidget*>(widget);
            ASSERT_NE(list, nullptr);
            EXPECT_FALSE(list->rootIsDecorated());
            EXPECT_EQ(list->selectionBehavior(), QAbstractItemView::SelectRows);
            EXPECT_FALSE(list->header()->isHidden());
            break;
        }
        case Kind::PageControl:
            EXPECT_NE(qobject_cast<QTabWidget*>(widget), nullptr);
            break;
        case Kind::StatusBar:
            EXPECT_NE(qobject_cast<QStatusBar*>(widget), nullptr);
            break;
    }
}

void ExpectGeometry(QWidget* widget, const inventory::Geometry& expected) {
    const QRect actual = widget->geometry();
    if (expected.x != kAny) {
        EXPECT_EQ(actual.x(), expected.x);
    }
    if (expected.y != kAny) {
        EXPECT_EQ(actual.y(), expected.y);
    }
    if (expected.width != kAny) {
        EXPECT_EQ(actual.width(), expected.width);
    }
    if (expected.height != kAny) {
        EXPECT_EQ(actual.height(), expected.height);
    }
}

void ExpectControl(QWidget* window, const Control& control) {
    SCOPED_TRACE(Utf8(control.name).toStdString());
    QWidget* container = Container(window, control.container);
    ASSERT_NE(container, nullptr) << "container " << control.container;
    auto* widget = container->findChild<QWidget*>(Utf8(control.name), Qt::FindDirectChildrenOnly);
    ASSERT_NE(widget, nullptr) << "missing";
    EXPECT_EQ(window->findChildren<QWidget*>(Utf8(control.name)).size(), 1) << "name not unique";
    ExpectKind(widget, control.kind);
    if (control.text != nullptr) {
        EXPECT_EQ(TextOf(widget), Utf8(control.text));
    }
    ExpectGeometry(widget, control.geometry);
    EXPECT_EQ(widget->isVisibleTo(container), !control.hidden);
    if (control.kind == Kind::ComboBox || control.kind == Kind::PageControl) {
        QStringList expected;
        for (const char* item : control.items) {
            expected << Utf8(item);
        }
        EXPECT_EQ(Items(widget), expected);
    }
    if (control.kind == Kind::ListView) {
        auto* list = qobject_cast<QTreeWidget*>(widget);
        ASSERT_NE(list, nullptr);
        ASSERT_EQ(list->columnCount(), static_cast<int>(control.columns.size()));
        for (int column = 0; column < list->columnCount(); ++column) {
            EXPECT_EQ(list->headerItem()->text(column), Utf8(control.columns[column].title))
                << "column " << column;
            EXPECT_EQ(list->columnWidth(column), control.columns[column].width)
                << "column " << column;
        }
    }
}

// Every window, every control: name, kind, text, items, geometry, visibility at start.
TEST(InventoryTest, EveryWindowHoldsItsControlsAsDefined) {
    for (const auto& window : inventory::Windows()) {
        SCOPED_TRACE(window.form);
        auto form = MakeForm(window);
        EXPECT_EQ(form->objectName(), QLatin1String(window.form));
        EXPECT_EQ(form->windowTitle(), Utf8(window.title));
        EXPECT_EQ(form->size(), QSize(window.width, window.height));
        for (const Control& control : window.controls) {
            ExpectControl(form.get(), control);
        }

        // The three title boxes sit side by side, left to right, at the top right, with pictures.
        if (!window.titleBoxes.empty()) {
            ASSERT_EQ(window.titleBoxes.size(), 3u);
            int left = -1;
            for (const char* name : window.titleBoxes) {
                auto* box = form->findChild<QLabel*>(Utf8(name), Qt::FindDirectChildrenOnly);
                ASSERT_NE(box, nullptr) << name;
                EXPECT_EQ(box->size(), QSize(24, 24)) << name;
                EXPECT_FALSE(box->pixmap().isNull()) << name;
                if (left >= 0) {
                    EXPECT_EQ(box->x(), left + 24) << name;
                }
                left = box->x();
            }
            // The right edge of the last box lies at the window's right edge, give or take a
            // few pixels as the definitions place them.
            EXPECT_LE(std::abs(left + 24 - window.width), 16);
        }

        // The window classes wire the boxes their form's definition names, in this order.
        const FormDefinition* definition = FindForm(Utf8(window.form));
        ASSERT_NE(definition, nullptr);
        QStringList wired;
        for (const char* box : {definition->titleBoxes.minimise, definition->titleBoxes.maximise,
                                definition->titleBoxes.close}) {
            if (box != nullptr) {
                wired << Utf8(box);
            }
        }
        QStringList described;
        for (const char* box : window.titleBoxes) {
            described << Utf8(box);
        }
        EXPECT_EQ(wired, described);
        EXPECT_EQ(definition->systemFrame, window.titleBoxes.empty());
    }
}

TEST(InventoryTest, MainPageOneIsEmptyAndPageHeadersAreNotShown) {
    const auto& windows = inventory::Windows();
    const auto main = std::find_if(windows.begin(), windows.end(),
                                   [](const auto& w) { return QByteArray(w.form) == "MainForm"; });
    ASSERT_NE(main, windows.end());
    auto form = MakeForm(*main);
    auto* pages = form->findChild<QTabWidget*>(QStringLiteral("高级选择夹1"));
    ASSERT_NE(pages, nullptr);
    ASSERT_EQ(pages->count(), 10);
    EXPECT_TRUE(pages->widget(1)->findChildren<QWidget*>().isEmpty());
    EXPECT_TRUE(pages->tabBar()->isHidden());

    form->show();
    pages->setCurrentIndex(3);
    // The page's own coordinates are the page control's: no header above them.
    EXPECT_EQ(pages->currentWidget()->mapTo(pages, QPoint(0, 0)), QPoint(0, 0));
}

TEST(InventoryTest, MainStatusBarHasFiveFixedParts) {
    const auto& windows = inventory::Windows();
    const auto main = std::find_if(windows.begin(), windows.end(),
                                   [](const auto& w) { return QByteArray(w.form) == "MainForm"; });
    auto form = MakeForm(*main);
    auto* bar = form->findChild<QStatusBar*>(QStringLiteral("状态条1"));
    ASSERT_NE(bar, nullptr);
    // As the window definitions word it: five parts, widths 180, 150, 180, 100 and 420 pixels.
    const QStringList widths =
        QStringLiteral("180, 150, 180, 100 and 420").split(QRegularExpression(", | and "));
    ASSERT_EQ(widths.size(), 5);
    for (int part = 0; part < widths.size(); ++part) {
        QLabel* label = StatusPart(bar, part);
        ASSERT_NE(label, nullptr) << part;
        EXPECT_EQ(label->minimumWidth(), widths[part].toInt()) << part;
        EXPECT_EQ(label->maximumWidth(), widths[part].toInt()) << part;
    }
    EXPECT_EQ(StatusPart(bar, widths.size()), nullptr);

    auto* maker = form->findChild<QLabel*>(QStringLiteral("透明标签19"));
    ASSERT_NE(maker, nullptr);
    EXPECT_TRUE(maker->text().startsWith(QStringLiteral("岚讯短信平台出品 ")));
    EXPECT_GT(maker->text().size(), QStringLiteral("岚讯短信平台出品 ").size());
}

// The main window's menus as the window definitions list them: menu | items.
const char kDescribedMenus[] = R"menus(
"短信收藏项目" | "收藏(S)"
"取消收藏项目" | "取消收藏(A)"
"暂停对接" | "复制对接码", "暂停对接(Z)", "删除对接(T)", "刷新(W)"
"恢复对接" | "复制对接码(Y)", "恢复对接(H)", "删除对接(P)", "刷新(K)"
"专属刷新" | "刷新(Q)"
"公开加入专属" | "加入专属(J)", "刷新(R)"
"专属" | "加入专属"
"取号功能" | "复制手机号码(A)", "复制验证码(B)", "复制全部手机号码(D)", "复制短信内容(C)", "再次使用号码", "释放号码", "拉黑号码"
"安全中心" | "修改密码", "个人信息", "安全设置"
"资金操作" | "提现", "提现记录", "充值记录", "短信记录", "推荐人奖励明细"
"资金明细复制" | "复制手机号码(E)", "复制短信内容(W)"
"复制订单" | "复制订单号(F)", "刷新(Y)"
"提现刷新" | "刷新(S)"
)menus";

struct DescribedMenu {
    QString name;
    QStringList items;
};

std::vector<DescribedMenu> DescribedMenus() {
    const auto unquote = [](const QString& text) { return text.trimmed().chopped(1).mid(1); };
    std::vector<DescribedMenu> menus;
    for (const QString& line : Utf8(kDescribedMenus).split(QLatin1Char('\n'), Qt::SkipEmptyParts)) {
        const QStringList columns = line.split(QStringLiteral(" | "));
        DescribedMenu menu{unquote(columns.at(0)), {}};
        for (const QString& item : columns.at(1).split(QStringLiteral(", "))) {
            menu.items << unquote(item);
        }
        menus.push_back(menu);
    }
    return menus;
}

// The menus as a real main window builds them: hidden children of the window, in creation
// order, each item a child of its menu, named and captioned as described.
TEST(InventoryTest, MainWindowMenus) {
    const std::vector<DescribedMenu> menus = DescribedMenus();
    ASSERT_EQ(menus.size(), 13u);
    test::FakeServices fakes;
    MainWindow window(QPointer<QWidget>(), {});
    const QList<QMenu*> built = window.findChildren<QMenu*>(Qt::FindDirectChildrenOnly);
    ASSERT_EQ(built.size(), static_cast<qsizetype>(menus.size()));
    EXPECT_EQ(window.findChildren<QMenu*>().size(), built.size()) << "menus inside menus";
    for (size_t m = 0; m < menus.size(); ++m) {
        const DescribedMenu& expected = menus[m];
        SCOPED_TRACE(expected.name.toStdString());
        QMenu* menu = built[static_cast<qsizetype>(m)];
        EXPECT_EQ(menu->objectName(), expected.name);
        EXPECT_EQ(menu->title(), expected.name);
        EXPECT_FALSE(menu->isVisible());
        const QList<QAction*> actions = menu->actions();
        ASSERT_EQ(actions.size(), expected.items.size());
        for (qsizetype i = 0; i < expected.items.size(); ++i) {
            EXPECT_EQ(actions[i]->text(), expected.items[i]);
            EXPECT_EQ(actions[i]->objectName(), expected.items[i]);
            EXPECT_EQ(actions[i]->parent(), menu);
        }
    }
}

TEST(InventoryTest, FormTimersExistStopped) {
    for (const auto& window : inventory::Windows()) {
        SCOPED_TRACE(window.form);
        auto form = MakeForm(window);
        QStringList expected;
        for (const char* name : window.timers) {
            expected << Utf8(name);
            QTimer* timer = FormTimer(form.get(), Utf8(name));
            ASSERT_NE(timer, nullptr) << name;
            EXPECT_FALSE(timer->isActive()) << name;
        }
        QStringList found;
        for (const QTimer* timer : form->findChildren<QTimer*>(Qt::FindDirectChildrenOnly)) {
            found << timer->objectName();
        }
        EXPECT_EQ(found, expected);
    }
}

TEST(InventoryTest, CaptureCursorsHaveTheirHotSpots) {
    const QCursor cross = CaptureCrossHairCursor();
    EXPECT_EQ(cross.pixmap().size(), QSize(32, 32));
    EXPECT_EQ(cross.hotSpot(), QPoint(15, 15));
    const QCursor pointer = CapturePointerCursor();
    EXPECT_EQ(pointer.pixmap().size(), QSize(32, 32));
    EXPECT_EQ(pointer.hotSpot(), QPoint(12, 4));
}

}  // namespace
}  // namespace lanxun
