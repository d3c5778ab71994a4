#include <QApplication>
#include <QImage>
#include <QKeyEvent>
#include <QMainWindow>
#include <QMenuBar>
#include <QPainter>
#include <QWidget>

// The floor of the calculator's stack: the least a Qt 6 window of the same
// shape does, a main window with a menu bar and a 240 x 268 widget that paints
// one image filled with a few rectangles, nothing else. Start-up
// measurements compare the calculator against it.
namespace {

constexpr int kWidth = 240;
constexpr int kHeight = 268;

class FloorView : public QWidget {
public:
    FloorView() : m_image(kWidth, kHeight, QImage::Format_RGB555)
    {
        setFixedSize(kWidth, kHeight);
        setAttribute(Qt::WA_OpaquePaintEvent);
        setFocusPolicy(Qt::StrongFocus);
        // A few flat rectangles, the least a face with a display needs; a
        // pixel-by-pixel fill would make the floor slower than a bare window.
        QPainter painter(&m_image);
        painter.fillRect(m_image.rect(), QColor(40, 60, 90));
        painter.fillRect(10, 6, 220, 74, QColor(181, 247, 239));
        painter.fillRect(10, 90, 220, 170, QColor(70, 70, 80));
    }

protected:
    void paintEvent(QPaintEvent*) override
    {
        QPainter painter(this);
        painter.drawImage(0, 0, m_image);
    }

    // A key changes the picture, as a calculator key changes its display, so
    // the key round trip can be timed here too.
    void keyReleaseEvent(QKeyEvent* event) override
    {
        if (event->isAutoRepeat())
            return;
        m_pressed = !m_pressed;
        QPainter painter(&m_image);
        painter.fillRect(20, 10, 200, 60, m_pressed ? QColor(180, 241, 235) : QColor(200, 200, 200));
        painter.end();
        update();
    }

private:
    QImage m_image;
    bool m_pressed = false;
};

}  // namespace

int main(int argc, char** argv)
{
    QApplication application(argc, argv);
    QMainWindow window;
    window.setWindowTitle(QStringLiteral("qt_floor"));
    QMenu* file = window.menuBar()->addMenu(QStringLiteral("&File"));
    file->addAction(QStringLiteral("E&xit"), &window, &QMainWindow::close);
    window.menuBar()->addMenu(QStringLiteral("&Edit"))->addAction(QStringLiteral("&Copy"));
    window.menuBar()->addMenu(QStringLiteral("&Help"))->addAction(QStringLiteral("&About"));
    auto* view = new FloorView;
    window.setCentralWidget(view);
    view->setFocus();
    window.show();
    return application.exec();
}
