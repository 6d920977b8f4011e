// Draws the main window's picture (992 x 218) and the window icon (64 x 64)
// into the folder given on the command line. Run by hand when the artwork
// changes; the PNGs are kept in app/resources.
#include <QDir>
#include <QGuiApplication>
#include <QImage>
#include <QLinearGradient>
#include <QPainter>
#include <QPainterPath>
#include <cmath>
#include <cstdio>

namespace {

// A parabolic tendon profile across a span: high over the supports, low at
// mid-span, as a prestressing tendon is draped in a simply supported girder.
double tendonDepth(double t) {
    return 1.0 - 4.0 * t * (1.0 - t);
}

QImage drawBanner() {
    QImage image(992, 218, QImage::Format_RGB32);
    QPainter p(&image);
    p.setRenderHint(QPainter::Antialiasing);

    QLinearGradient sky(0, 0, 0, 218);
    sky.setColorAt(0, QColor(220, 232, 248));
    sky.setColorAt(1, QColor(250, 252, 255));
    p.fillRect(image.rect(), sky);

    // Girder elevation with two piers.
    const QRectF girder(40, 70, 912, 70);
    QLinearGradient concrete(0, girder.top(), 0, girder.bottom());
    concrete.setColorAt(0, QColor(205, 205, 200));
    concrete.setColorAt(1, QColor(160, 160, 155));
    p.setPen(QPen(QColor(90, 90, 90), 2));
    p.setBrush(concrete);
    p.drawRect(girder);
    p.setBrush(QColor(150, 150, 145));
    p.drawRect(QRectF(70, 140, 36, 70));
    p.drawRect(QRectF(886, 140, 36, 70));
    p.setPen(QPen(QColor(110, 100, 80), 3));
    p.drawLine(QPointF(20, 210), QPointF(972, 210));

    // The tendon and its nodes.
    QPainterPath tendon;
    const int nodes = 10;
    QList<QPointF> points;
    for (int i = 0; i <= 200; ++i) {
        const double t = i / 200.0;
        const QPointF at(girder.left() + 20 + t * (girder.width() - 40),
                         girder.top() + 14 + (1.0 - tendonDepth(t)) * (girder.height() - 26));
        if (i == 0) {
            tendon.moveTo(at);
        } else {
            tendon.lineTo(at);
        }
        if (i % (200 / nodes) == 0) {
            points.append(at);
        }
    }
    p.setBrush(Qt::NoBrush);
    p.setPen(QPen(QColor(200, 30, 30), 3));
    p.drawPath(tendon);
    p.setPen(QPen(QColor(0, 140, 0), 2));
    for (const QPointF& at : points) {
        p.drawLine(at + QPointF(-5, -5), at + QPointF(5, 5));
        p.drawLine(at + QPointF(-5, 5), at + QPointF(5, -5));
    }

    QFont title(QStringLiteral("DejaVu Sans"), 30, QFont::Bold);
    p.setFont(title);
    p.setPen(QColor(20, 50, 120));
    p.drawText(QRectF(40, 8, 600, 56), Qt::AlignLeft | Qt::AlignVCenter, QStringLiteral("Tendra"));
    QFont version(QStringLiteral("DejaVu Sans"), 14);
    p.setFont(version);
    p.setPen(QColor(60, 80, 130));
    p.drawText(QRectF(600, 8, 352, 56), Qt::AlignRight | Qt::AlignVCenter,
               QStringLiteral("tendon nodes  V2.0"));
    return image;
}

QImage drawIcon() {
    QImage image(64, 64, QImage::Format_ARGB32);
    image.fill(Qt::transparent);
    QPainter p(&image);
    p.setRenderHint(QPainter::Antialiasing);
    p.setPen(QPen(QColor(40, 60, 110), 2));
    p.setBrush(QColor(190, 200, 215));
    p.drawRoundedRect(QRectF(3, 16, 58, 26), 3, 3);
    p.setBrush(QColor(120, 125, 135));
    p.drawRect(QRectF(8, 42, 8, 18));
    p.drawRect(QRectF(48, 42, 8, 18));
    QPainterPath tendon;
    for (int i = 0; i <= 50; ++i) {
        const double t = i / 50.0;
        const QPointF at(7 + t * 50, 21 + (1.0 - tendonDepth(t)) * 15);
        if (i == 0) {
            tendon.moveTo(at);
        } else {
            tendon.lineTo(at);
        }
    }
    p.setBrush(Qt::NoBrush);
    p.setPen(QPen(QColor(210, 30, 30), 3, Qt::SolidLine, Qt::RoundCap));
    p.drawPath(tendon);
    return image;
}

}  // namespace

int main(int argc, char** argv) {
    qputenv("QT_QPA_PLATFORM", "offscreen");
    QGuiApplication app(argc, argv);
    if (argc != 2) {
        std::fprintf(stderr, "usage: draw_pictures <output folder>\n");
        return 2;
    }
    const QDir folder(QString::fromLocal8Bit(argv[1]));
    const bool saved = drawBanner().save(folder.filePath(QStringLiteral("image1.png"))) &&
                       drawIcon().save(folder.filePath(QStringLiteral("tendra.png")));
    return saved ? 0 : 1;
}
