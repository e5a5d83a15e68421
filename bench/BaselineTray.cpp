// The yardstick for the idle bench: the least a Qt 6 tray program does. One
// QSystemTrayIcon, one one-minute QTimer, and an orderly quit on SIGTERM or SIGINT.
#include <QApplication>
#include <QPixmap>
#include <QSocketNotifier>
#include <QSystemTrayIcon>
#include <QTimer>

#include <csignal>
#include <sys/socket.h>
#include <unistd.h>

namespace {
int g_fdSignal[2] = {-1, -1};

void OnSignal(int) {
    const char c = 0;
    [[maybe_unused]] const ssize_t n = ::write(g_fdSignal[1], &c, 1);
}
} // namespace

int main(int argc, char* argv[]) {
    QApplication application(argc, argv);
    QApplication::setApplicationName(QStringLiteral("Baseline"));
    QApplication::setQuitOnLastWindowClosed(false);

    if (::socketpair(AF_UNIX, SOCK_STREAM, 0, g_fdSignal) != 0)
        return 1;
    QSocketNotifier notifier(g_fdSignal[0], QSocketNotifier::Read);
    QObject::connect(&notifier, &QSocketNotifier::activated, &application, &QCoreApplication::quit);
    std::signal(SIGTERM, OnSignal);
    std::signal(SIGINT, OnSignal);

    QPixmap pixmap(22, 22);
    pixmap.fill(Qt::darkGreen);
    QSystemTrayIcon icon{QIcon(pixmap)};
    icon.setToolTip(QStringLiteral("Baseline"));
    icon.show();

    int nTicks = 0;
    QTimer timer;
    timer.setTimerType(Qt::PreciseTimer);
    QObject::connect(&timer, &QTimer::timeout, [&nTicks] { ++nTicks; });
    timer.start(60000);
    return QApplication::exec();
}
