#include "draw/view/CShapePage.h"

#include <QCheckBox>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QToolButton>
#include <QVBoxLayout>

#include <algorithm>

#include "framework/Prompts.h"

namespace {

QToolButton* ArrowButton(Qt::ArrowType arrow, QWidget* parent)
{
    auto* button = new QToolButton(parent);
    button->setArrowType(arrow);
    button->setAutoRepeat(true);
    button->setFocusPolicy(Qt::NoFocus);
    button->setFixedSize(16, 12);
    return button;
}

}  // namespace

CShapePage::CShapePage(const ShapePageValues& values, QWidget* parent)
    : CPropertyPage(parent),
      values_(values),
      spinPosition_(std::min(values.lineWeight, MAX_LINE_WEIGHT)),
      weight_(new QLineEdit(QString::number(values.lineWeight), this)),
      showHandles_(new QCheckBox(QStringLiteral("Stützpunkte anzeigen"), this)),
      fill_(new QCheckBox(QStringLiteral("füllen"), this))
{
    weight_->setObjectName(QStringLiteral("edit102"));
    weight_->installEventFilter(this);
    auto* spin = new QWidget(this);
    spin->setObjectName(QStringLiteral("spin104"));
    QToolButton* up = ArrowButton(Qt::UpArrow, spin);
    QToolButton* down = ArrowButton(Qt::DownArrow, spin);
    up->setObjectName(QStringLiteral("up"));
    down->setObjectName(QStringLiteral("down"));
    connect(up, &QToolButton::clicked, this, [this] { Step(1); });
    connect(down, &QToolButton::clicked, this, [this] { Step(-1); });
    auto* arrows = new QVBoxLayout(spin);
    arrows->setContentsMargins(0, 0, 0, 0);
    arrows->setSpacing(0);
    arrows->addWidget(up);
    arrows->addWidget(down);

    auto* label = new QLabel(QStringLiteral("Stärke"), this);
    label->setBuddy(weight_);
    auto* lines = new QGroupBox(QStringLiteral("Linien"), this);
    auto* lineRow = new QHBoxLayout(lines);
    lineRow->addWidget(label);
    lineRow->addWidget(weight_);
    lineRow->addWidget(spin);
    lineRow->addStretch(1);

    showHandles_->setObjectName(QStringLiteral("check125"));
    showHandles_->setChecked(values.showHandles);
    fill_->setObjectName(QStringLiteral("check103"));
    fill_->setChecked(values.fill);
    auto* shapes = new QGroupBox(QStringLiteral("Formen"), this);
    auto* shapeRow = new QHBoxLayout(shapes);
    shapeRow->addWidget(fill_);
    shapeRow->addStretch(1);

    auto* layout = new QVBoxLayout(this);
    layout->addWidget(lines);
    layout->addWidget(showHandles_);
    layout->addWidget(shapes);
    layout->addStretch(1);
}

void CShapePage::Step(int delta)
{
    // As an up-down control with a buddy: from the number in the edit, or from where the
    // arrows last were when the edit holds none.
    std::optional<uint32_t> typed = ParseLineWeight(weight_->text().toStdString());
    int64_t from = typed ? *typed : spinPosition_;
    spinPosition_ = static_cast<uint32_t>(std::clamp<int64_t>(from + delta, 0, MAX_LINE_WEIGHT));
    weight_->setText(QString::number(spinPosition_));
}

bool CShapePage::eventFilter(QObject* watched, QEvent* event)
{
    if (watched == weight_ && event->type() == QEvent::KeyPress) {
        int key = static_cast<QKeyEvent*>(event)->key();
        if (key == Qt::Key_Up || key == Qt::Key_Down) {
            Step(key == Qt::Key_Up ? 1 : -1);
            return true;
        }
    }
    return CPropertyPage::eventFilter(watched, event);
}

bool CShapePage::Refuse(const char* message)
{
    Prompts::Current().Message(message);
    weight_->setFocus(Qt::OtherFocusReason);
    weight_->selectAll();
    return false;
}

bool CShapePage::SaveData()
{
    std::optional<uint32_t> weight = ParseLineWeight(weight_->text().toStdString());
    if (!weight) {
        return Refuse("Please enter a positive integer.");
    }
    if (*weight > MAX_LINE_WEIGHT) {
        return Refuse("Please enter an integer between 0 and 100.");
    }
    values_.lineWeight = *weight;
    values_.showHandles = showHandles_->isChecked();
    values_.fill = fill_->isChecked();
    return true;
}
