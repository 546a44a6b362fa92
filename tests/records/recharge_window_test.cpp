#include <zbar.h>

#include <QBuffer>
#include <QImage>
#include <QLabel>
#include <QLineEdit>
#include <QPainter>
#include <QPixmap>
#include <QPushButton>
#include <QTabWidget>
#include <vector>

#include "records/recharge_controller.h"
#include "records_fixture.h"
#include "support/sim_reply.h"
#include "ui/window_factory.h"

namespace lanxun {
namespace {

using test::Reply;

const std::string kMarker("\xFF\x7B\xE7", 3);

// The text of the first QR code zbar finds in `picture`; empty when there is none.
QString DecodeQr(const QImage& picture) {
    const QImage grey = picture.convertToFormat(QImage::Format_Grayscale8);
    std::vector<unsigned char> pixels;
    for (int y = 0; y < grey.height(); ++y) {
        const uchar* row = grey.constScanLine(y);
        pixels.insert(pixels.end(), row, row + grey.width());
    }
    zbar::ImageScanner scanner;
    scanner.set_config(zbar::ZBAR_NONE, zbar::ZBAR_CFG_ENABLE, 0);
    scanner.set_config(zbar::ZBAR_QRCODE, zbar::ZBAR_CFG_ENABLE, 1);
    zbar::Image image(static_cast<unsigned>(grey.width()), static_cast<unsigned>(grey.height()),
                      "Y800", pixels.data(), pixels.size());
    scanner.scan(image);
    for (auto symbol = image.symbol_begin(); symbol != image.symbol_end(); ++symbol) {
        return QString::fromStdString(symbol->get_data());
    }
    return {};
}

std::string Encoded(const QImage& image, const char* format) {
    QByteArray bytes;
    QBuffer buffer(&bytes);
    buffer.open(QIODevice::WriteOnly);
    image.save(&buffer, format);
    return bytes.toStdString();
}

QImage Sample() {
    QImage image(60, 40, QImage::Format_RGB32);
    image.fill(Qt::white);
    QPainter(&image).fillRect(10, 10, 20, 20, Qt::black);
    return image;
}

class RechargeWindowTest : public test::RecordsTest {
protected:
    void SetUp() override {
        RecordsTest::SetUp();
        window_ = CreateRechargeWindow();
        window_->show();
    }
    void TearDown() override { delete window_.data(); }

    template <typename T = QWidget>
    T* Child(const char* name) {
        return RecordsTest::Child<T>(window_, name);
    }
    QLabel* Picture() { return Child<QLabel>("图片框2"); }
    bool PictureShown() { return !Picture()->pixmap().isNull(); }

    // Clicks "充值" of page 1 with `amount` and waits until the QR recharge has finished.
    void QrRecharge(const QString& amount) {
        Child<QTabWidget>("高级选择夹1")->setCurrentIndex(1);
        Child<QLineEdit>("编辑框_二维码充值金额")->setText(amount);
        Child<QPushButton>("按钮_二维码充值")->click();
        WaitForQrRecharge();
        EXPECT_TRUE(Child<QPushButton>("按钮_二维码充值")->isEnabled());
        EXPECT_TRUE(Child<QLabel>("透明标签2")->isHidden());
    }
    // The result is shown before the recharge counts as done.
    void WaitForQrRecharge() {
        auto* controller = window_->findChild<RechargeController*>();
        EXPECT_TRUE(QTest::qWaitFor([&] { return !controller->QrRechargeRunning(); }, 30000));
    }

    QPointer<QWidget> window_;
};

// The sc reply as bytes: the first marker's message, or the whole reply as a picture; a
// reply that is no image shows nothing, not the previous code and not garbage.
TEST_F(RechargeWindowTest, TheQrReplyIsAPictureOrTheMessageAfterTheMarker) {
    const std::string png = platformsim::FundsModel::QrPng("https://example.com/pay?amount=50");
    const struct {
        const char* name;
        std::string reply;
        const char* message;  // nullptr: no message
        bool picture;
    } cases[] = {
        {"marker first", kMarker + Gbk("充值金额错误"), "充值金额错误", false},
        {"marker in the middle", "0" + kMarker + Gbk("请稍后再试"), "请稍后再试", false},
        {"two markers", "x" + kMarker + Gbk("第一") + kMarker + Gbk("第二"), "第一", false},
        {"marker at the end", "abc" + kMarker, "", false},
        {"a png", png, nullptr, true},
        {"a jpeg", Encoded(Sample(), "JPG"), nullptr, true},
        {"no marker, not an image", Gbk("系统维护中"), nullptr, false},
        {"empty reply", "", nullptr, false},
        {"a truncated png", png.substr(0, png.size() / 2), nullptr, false},
        {"10 MiB of noise", std::string(10u << 20, '\x5a'), nullptr, false},
    };
    for (const auto& c : cases) {
        // Each starts from a shown picture, so an unusable reply has to clear it.
        Picture()->setPixmap(QPixmap::fromImage(Sample()));
        fakes_.messageBoxes.shown.clear();
        sim_->Script("sc", Reply(200, c.reply));
        QrRecharge(QStringLiteral("50"));
        if (c.message) {
            EXPECT_EQ(fakes_.messageBoxes.Texts(), QStringList{QString::fromUtf8(c.message)})
                << c.name;
            EXPECT_TRUE(PictureShown()) << c.name << ": a message leaves the picture alone";
        } else {
            EXPECT_TRUE(fakes_.messageBoxes.shown.empty()) << c.name;
            EXPECT_EQ(PictureShown(), c.picture) << c.name;
        }
    }
}

// The local platform's QR code for 50 is a real one: read back from the window as shown.
TEST_F(RechargeWindowTest, TheQrCodeShownCanBeScanned) {
    QrRecharge(QStringLiteral("50"));
    ASSERT_TRUE(PictureShown());
    const QString text = DecodeQr(Picture()->grab().toImage());
    EXPECT_TRUE(
        text.startsWith("https://qr.alipay.example/lanxun?user=demo2026&amount=50.00&order="))
        << text.toStdString();
    EXPECT_EQ(Targets(), QStringList{"/sc/…&j=50"});
    EXPECT_EQ(sim_->Requests().at(0).line, "rechargeLine");
}

// A QR recharge that finishes after its window closed drops its result.
TEST_F(RechargeWindowTest, AQrCodeArrivingAfterTheWindowClosedIsDropped) {
    for (const std::string& reply :
         {platformsim::FundsModel::QrPng("late"), "0" + kMarker + Gbk("太迟了")}) {
        window_ = CreateRechargeWindow();
        window_->show();
        sim_->ClearRequests();
        sim_->Script("sc", Reply(200, reply, {}, /*delayMs=*/60000));
        Child<QLineEdit>("编辑框_二维码充值金额")->setText(QStringLiteral("20"));
        Child<QPushButton>("按钮_二维码充值")->click();
        ASSERT_TRUE(window_->findChild<RechargeController*>()->QrRechargeRunning());
        EXPECT_FALSE(Child<QPushButton>("按钮_二维码充值")->isEnabled());
        EXPECT_FALSE(Child<QLabel>("透明标签2")->isHidden());
        ASSERT_TRUE(sim_->WaitForRequests(1, std::chrono::seconds(30)));
        delete window_.data();  // the request is still held by the platform
        QCoreApplication::processEvents();
        EXPECT_TRUE(fakes_.messageBoxes.shown.empty());
    }
}

// The amount checks of both windows: under 10 (with a tolerance of 0.0000001) is refused before
// anything is sent; what passes goes out exactly as typed.
TEST_F(RechargeWindowTest, AmountsUnderTenAreRefusedAndOthersSentAsTyped) {
    const struct {
        const char* amount;
        bool refused;
        const char* sent;
    } cases[] = {
        {"", true, nullptr},
        {"abc", true, nullptr},
        {"9.999", true, nullptr},
        {"9.99", true, nullptr},
        {"-10", true, nullptr},
        {"５０", true, nullptr},  // full-width digits are not a number
        {"9.99999999", false, "9.99999999"},
        {"10", false, "10"},
        {"1e9", false, "1e9"},
        {" 50", false, "%2050"},
        {"50元", false, "50%E5%85%83"},
    };
    for (const auto& c : cases) {
        const QString amount = QString::fromUtf8(c.amount);
        sim_->ClearRequests();
        fakes_.messageBoxes.shown.clear();
        sim_->Script("sc", Reply(200, "0" + kMarker + Gbk("金额错误")));
        QrRecharge(amount);

        QPointer<QWidget> withdrawal = CreateWithdrawalWindow();
        RecordsTest::Child<QLineEdit>(withdrawal, "编辑框4")->setText(amount);
        sim_->Script("tj", Reply(200, Gbk("提现失败")));
        RecordsTest::Child<QPushButton>(withdrawal, "按钮5")->click();
        delete withdrawal.data();

        if (c.refused) {
            EXPECT_EQ(fakes_.messageBoxes.Texts(),
                      QStringList({"充值金额不能少于10", "提现金额最低10元起"}))
                << c.amount;
            EXPECT_TRUE(Targets().isEmpty()) << c.amount;
        } else {
            const QString sent = QString::fromUtf8(c.sent);
            EXPECT_EQ(Targets(), QStringList({"/sc/…&j=" + sent, "/tj/…&j=" + sent})) << c.amount;
            EXPECT_EQ(fakes_.messageBoxes.Texts(), QStringList({"金额错误", "提现失败"}))
                << c.amount;
        }
    }
}

// The order number must be exactly 32 bytes in GBK; a Chinese character counts 2.
TEST_F(RechargeWindowTest, TheOrderNumberIsThirtyTwoBytes) {
    const QString digits32 = QStringLiteral("20261210200040011100165218110050");
    const struct {
        QString order;
        const char* refusal;  // nullptr: sent
    } cases[] = {
        {QString(), "请输入支付宝订单交易号"},
        {digits32.left(31), "支付宝订单交易号长度不符合"},
        {digits32 + "1", "支付宝订单交易号长度不符合"},
        {QString(15, QChar(0x5B57)) + "1", "支付宝订单交易号长度不符合"},
        {QString(16, QChar(0x5B57)) + "1", "支付宝订单交易号长度不符合"},
        {QString(16, QChar(0x5B57)), nullptr},
        {digits32, nullptr},
    };
    QLineEdit* box = Child<QLineEdit>("编辑框_支付宝订单");
    for (const auto& c : cases) {
        sim_->ClearRequests();
        fakes_.messageBoxes.shown.clear();
        box->setText(c.order);
        Child<QPushButton>("按钮_支付宝充值")->click();
        EXPECT_EQ(box->text(), c.order) << "the box keeps its text";
        if (c.refusal) {
            EXPECT_EQ(fakes_.messageBoxes.Texts(), QStringList{QString::fromUtf8(c.refusal)})
                << c.order.toStdString();
            EXPECT_TRUE(Targets().isEmpty()) << c.order.toStdString();
        } else {
            ASSERT_EQ(sim_->Requests().size(), 1u) << c.order.toStdString();
            EXPECT_EQ(sim_->Requests()[0].line, "pollLine");
            EXPECT_EQ(QUrl::fromPercentEncoding(Targets()[0].toUtf8()), "/cz_tj/…&d=" + c.order);
            EXPECT_EQ(fakes_.messageBoxes.shown.size(), 1u) << "the reply, whatever it says";
        }
    }
    // The platform credited the transfer of the 32 digits (its last four say 50 yuan).
    EXPECT_EQ(fakes_.messageBoxes.Texts(), QStringList{"充值成功，到账50.00元"});
    EXPECT_EQ(sim_->Funds().Money("demo2026").balanceFen, 8850 + 5000);
}

// Page "手动充值" becoming current loads the account to transfer to; the copy button copies it
// once there is one; a reply of one field is a message and the label keeps its text.
TEST_F(RechargeWindowTest, TheTransferAccountIsLoadedOnPageZeroAndCopied) {
    QTabWidget* pages = Child<QTabWidget>("高级选择夹1");
    QLabel* label = Child<QLabel>("透明标签55");
    fakes_.clipboard.SetText(QStringLiteral("before"));
    Child<QPushButton>("按钮1")->click();
    EXPECT_EQ(fakes_.clipboard.Text(), "before") << "no account yet";
    EXPECT_TRUE(Targets().isEmpty()) << "opening the window loads nothing";

    pages->setCurrentIndex(1);
    pages->setCurrentIndex(0);
    EXPECT_EQ(label->text(), "转账支付宝：lanxun-pay@alipay.example （岚讯科技）");
    Child<QPushButton>("按钮1")->click();
    EXPECT_EQ(fakes_.clipboard.Text(), "lanxun-pay@alipay.example");
    EXPECT_EQ(Targets(), QStringList{"/cx/…"});
    EXPECT_EQ(sim_->Requests()[0].line, "rechargeLine");

    sim_->Script("cx", Reply(200, Gbk("系统维护")));
    pages->setCurrentIndex(1);
    pages->setCurrentIndex(0);
    EXPECT_EQ(fakes_.messageBoxes.Texts(), QStringList{"系统维护"});
    EXPECT_EQ(label->text(), "转账支付宝：lanxun-pay@alipay.example （岚讯科技）");

    // Closing the window on page 1 changes pages as the window comes down: nothing is loaded.
    pages->setCurrentIndex(1);
    sim_->ClearRequests();
    delete window_.data();
    EXPECT_TRUE(Targets().isEmpty());
}

}  // namespace
}  // namespace lanxun
