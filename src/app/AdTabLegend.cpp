#include "app/AdTabLegend.h"

#include <QCloseEvent>
#include <QHBoxLayout>
#include <QLabel>
#include <QPainter>
#include <QPainterPath>
#include <QPushButton>
#include <QVBoxLayout>

#include "common/HelpTopics.h"

namespace {

// The legend: each finger's shape around its number.
class FingerShapes : public QWidget {
 public:
  explicit FingerShapes(QWidget* parent) : QWidget(parent) { setFixedSize(152, 128); }

 protected:
  void paintEvent(QPaintEvent*) override {
    QPainter p(this);
    p.setRenderHint(QPainter::Antialiasing);
    p.fillRect(rect(), Qt::white);
    const QColor colours[4] = {QColor(192, 0, 0), QColor(0, 128, 0), QColor(0, 0, 192), QColor(160, 96, 0)};
    for (int finger = 0; finger < 4; ++finger) {
      const QRectF box(8 + (finger % 2) * 72, 8 + (finger / 2) * 60, 56, 52);
      const QRectF shape = box.adjusted(10, 2, -10, -14);
      p.setPen(QPen(colours[finger], 2));
      switch (finger) {
        case 0:
          p.drawEllipse(shape);
          break;
        case 1:
          p.drawRect(shape);
          break;
        case 2: {
          QPainterPath triangle;
          triangle.moveTo(shape.center().x(), shape.top());
          triangle.lineTo(shape.bottomRight());
          triangle.lineTo(shape.bottomLeft());
          triangle.closeSubpath();
          p.drawPath(triangle);
          break;
        }
        default: {
          QPainterPath diamond;
          diamond.moveTo(shape.center().x(), shape.top());
          diamond.lineTo(shape.right(), shape.center().y());
          diamond.lineTo(shape.center().x(), shape.bottom());
          diamond.lineTo(shape.left(), shape.center().y());
          diamond.closeSubpath();
          p.drawPath(diamond);
          break;
        }
      }
      p.setPen(Qt::black);
      p.drawText(shape, Qt::AlignCenter, QString::number(finger + 1));
      p.drawText(QRectF(box.left(), box.bottom() - 12, box.width(), 12), Qt::AlignCenter,
                 QStringLiteral("F%1").arg(finger + 1));
    }
  }
};

}  // namespace

KDlgAdTabLegend::KDlgAdTabLegend(QWidget* parent, std::function<void()> onClose)
    : QDialog(parent), m_onClose(std::move(onClose)) {
  setWindowTitle(QStringLiteral("Ad-Tab Fingering"));
  setModal(false);
  auto* layout = new QVBoxLayout(this);
  layout->addWidget(new FingerShapes(this));
  layout->addWidget(new QLabel(QStringLiteral("Hit F1-F4 key for"), this));
  layout->addWidget(new QLabel(QStringLiteral("finger 1-4 symbol"), this));
  auto* buttons = new QHBoxLayout;
  auto* help = new QPushButton(QStringLiteral("Help"), this);
  help->setObjectName(QStringLiteral("control2"));
  auto* ok = new QPushButton(QStringLiteral("OK"), this);
  ok->setObjectName(QStringLiteral("control1"));
  ok->setDefault(true);
  buttons->addStretch(1);
  buttons->addWidget(help);
  buttons->addWidget(ok);
  layout->addLayout(buttons);
  connect(help, &QPushButton::clicked, this, [this] { OnHelp(); });
  connect(ok, &QPushButton::clicked, this, [this] {
    if (m_onClose) m_onClose();
  });
}

void KDlgAdTabLegend::OnHelp() { ShowHelpTopic(HelpTopic::kAdtabLegend); }

void KDlgAdTabLegend::closeEvent(QCloseEvent* event) {
  // The close box closes the guide as OK does.
  event->ignore();
  if (m_onClose) m_onClose();
}
