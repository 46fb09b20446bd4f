// The baseline of the desktop benchmarks: one read-only line edit, in a window of Lumora's size,
// whose text moves on by one character every 200 ms on one precise timer. With --still, the
// window alone and no ticker: the floor of any Qt window.

#include <QApplication>
#include <QLineEdit>
#include <QTimer>
#include <QWidget>

#include <cstring>

int main(int argc, char** argv) {
    QApplication app(argc, argv);
    QWidget window;
    window.setWindowTitle(QStringLiteral("Minimal ticker"));
    window.setFixedSize(466, 352);
    if (argc > 1 && std::strcmp(argv[1], "--still") == 0) {
        window.show();
        return QApplication::exec();
    }

    const QString message = QStringLiteral("Големите изненади се крият в малките опаковки.");
    const QString text = message + QLatin1Char(' ') + message;
    QLineEdit ticker(text.left(20), &window);
    ticker.setReadOnly(true);
    ticker.setGeometry(80, 72, 265, 31);
    qsizetype position = 0;
    QTimer timer;
    timer.setTimerType(Qt::PreciseTimer);
    QObject::connect(&timer, &QTimer::timeout, &ticker, [&] {
        position = position % (message.size() - 1) + 1;
        ticker.setText(text.mid(position - 1, 20));
    });
    timer.start(200);
    window.show();
    return QApplication::exec();
}
