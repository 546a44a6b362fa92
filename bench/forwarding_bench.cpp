// Typing into a real window of another process: 16 number lines and a 300-character
// Chinese SMS, each repetition checked character for character (nothing lost, doubled or
// reordered). Beside them the same SMS length in ASCII, which needs no spare key bindings,
// so the figures read as a ratio. The Chinese run goes last: after thousands of keyboard
// mapping changes Xvfb has been seen to refuse new programs its keymap. Needs an X display (run
// under xvfb-run); a window manager is started when none runs.

#include <benchmark/benchmark.h>

#include <QGuiApplication>

#include "platform/input_simulator.h"
#include "x11_desktop.h"

namespace {

using namespace lanxun;

// One window manager for the whole run.
test::WindowManager* manager = nullptr;

const QString kShiftEnter = QStringLiteral("[S-Enter]");
const QString kEnter = QStringLiteral("[Enter]");

// Types `text` as one message and checks what arrived; the time covers the arrival too.
void TypeAndCheck(benchmark::State& state, const QStringList& lines) {
    if (!test::HaveDisplay()) {
        state.SkipWithError("no X display");
        return;
    }
    test::RecorderWindow chat(QStringLiteral("聊天"));
    if (!manager->Running() || chat.handle() == 0) {
        state.SkipWithError("no window manager or no recorder window");
        return;
    }
    QString expected;
    qint64 characters = 0;
    for (auto _ : state) {
        for (const QString& line : lines) {
            Input().TypeText(chat.handle(), line);
            Input().PressKey(chat.handle(), kEnterKey, kShiftKey);
            expected += line + kShiftEnter;
            characters += line.toUcs4().size();
        }
        Input().PressKey(chat.handle(), kEnterKey, 0);
        expected += kEnter;
        if (!chat.WaitForReceived(expected)) {
            qWarning("expected: %s\nreceived: %s", qPrintable(expected.right(200)),
                     qPrintable(chat.Received().right(200)));
            state.SkipWithError("received text differs from the typed one");
            return;
        }
    }
    state.counters["chars_per_s"] =
        benchmark::Counter(double(characters), benchmark::Counter::kIsRate);
}

QStringList NumberLines() {
    QStringList lines;
    for (int i = 1; i <= 16; ++i) {
        lines << QStringLiteral("COM%1 1380000%2").arg(i).arg(i, 4, 10, QLatin1Char('0'));
    }
    return lines;
}

QString ChineseSms() {
    const QString sentence = QStringLiteral(
        "【岚讯】您的验证码是%1，五分钟内有效，请勿泄露给他人。如非本人操作请忽略本短信。");
    QString sms;
    for (int i = 0; sms.size() < 300; ++i) {
        sms += sentence.arg(1000 + i);
    }
    return sms.left(300);
}

void BM_TypeNumberLines16(benchmark::State& state) {
    TypeAndCheck(state, NumberLines());
}
BENCHMARK(BM_TypeNumberLines16)->Iterations(20)->Unit(benchmark::kMillisecond)->UseRealTime();

void BM_TypeAsciiSms300(benchmark::State& state) {
    QString sms;
    for (int i = 0; sms.size() < 300; ++i) {
        sms += QStringLiteral("Your code is %1, valid for five minutes. ").arg(1000 + i);
    }
    TypeAndCheck(state, {sms.left(300)});
}
BENCHMARK(BM_TypeAsciiSms300)->Iterations(20)->Unit(benchmark::kMillisecond)->UseRealTime();

void BM_TypeChineseSms300(benchmark::State& state) {
    TypeAndCheck(state, {ChineseSms()});
}
BENCHMARK(BM_TypeChineseSms300)->Iterations(20)->Unit(benchmark::kMillisecond)->UseRealTime();

}  // namespace

int main(int argc, char** argv) {
    qputenv("QT_QPA_PLATFORM", "offscreen");
    QGuiApplication app(argc, argv);
    benchmark::Initialize(&argc, argv);
    test::WindowManager windowManager;
    manager = &windowManager;
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    return 0;
}
