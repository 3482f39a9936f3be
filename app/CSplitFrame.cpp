#include "app/CSplitFrame.h"

#include <QMouseEvent>
#include <QPainter>
#include <QRubberBand>
#include <QScrollBar>
#include <QSplitter>
#include <functional>

#include "app/GpsCommands.h"
#include "app/MapGeoReferencing.h"
#include "draw/view/CDrawView.h"
#include "framework/DocTemplate.h"
#include "res/CommandIds.h"

namespace {

constexpr int kSplitBoxThickness = 7;

// The split box at the end of a scroll bar: dragged into the pane, it shows a line where the
// new boundary would go and splits there when released.
class SplitBox : public QWidget {
public:
    // `rows`: the box of the vertical scroll bar, which splits into rows.
    SplitBox(bool rows, QWidget* area, std::function<void(int position)> split)
        : rows_(rows), area_(area), split_(std::move(split))
    {
        setCursor(rows ? Qt::SplitVCursor : Qt::SplitHCursor);
        setToolTip(QStringLiteral("Ziehen, um das Fenster zu teilen"));
        if (rows) {
            setFixedHeight(kSplitBoxThickness);
        } else {
            setFixedWidth(kSplitBoxThickness);
        }
    }

protected:
    void paintEvent(QPaintEvent*) override
    {
        // A small raised button with a grip across it.
        QPainter painter(this);
        QRect r = rect();
        painter.fillRect(r, palette().button());
        painter.setPen(palette().color(QPalette::Light));
        painter.drawLine(r.topLeft(), r.topRight());
        painter.drawLine(r.topLeft(), r.bottomLeft());
        painter.setPen(palette().color(QPalette::Shadow));
        painter.drawLine(r.bottomLeft(), r.bottomRight());
        painter.drawLine(r.topRight(), r.bottomRight());
        painter.setPen(palette().color(QPalette::Dark));
        QPoint c = r.center();
        if (rows_) {
            painter.drawLine(c.x() - 4, c.y(), c.x() + 4, c.y());
        } else {
            painter.drawLine(c.x(), c.y() - 4, c.x(), c.y() + 4);
        }
    }
    void mousePressEvent(QMouseEvent* event) override
    {
        if (event->button() == Qt::LeftButton) {
            band_ = new QRubberBand(QRubberBand::Line, area_);
            Track(event->globalPosition().toPoint());
            band_->show();
        }
    }
    void mouseMoveEvent(QMouseEvent* event) override
    {
        if (band_) {
            Track(event->globalPosition().toPoint());
        }
    }
    void mouseReleaseEvent(QMouseEvent* event) override
    {
        if (!band_) {
            return;
        }
        delete band_;
        band_ = nullptr;
        QPoint p = area_->mapFromGlobal(event->globalPosition().toPoint());
        split_(rows_ ? p.y() : p.x());
    }

private:
    void Track(QPoint global)
    {
        QPoint p = area_->mapFromGlobal(global);
        band_->setGeometry(rows_ ? QRect(0, p.y() - 1, area_->width(), 3)
                                 : QRect(p.x() - 1, 0, 3, area_->height()));
    }

    bool rows_;
    QWidget* area_;
    std::function<void(int)> split_;
    QRubberBand* band_ = nullptr;
};

}  // namespace

CSplitFrame::CSplitFrame(DocManager* manager, Document* document, DocTemplate* docTemplate)
    : MdiChildFrame(manager, document, docTemplate), rows_(new QSplitter(Qt::Vertical))
{
    rows_->setChildrenCollapsible(false);
    // Panes change when the boundary is let go, so that one dragged too small can go.
    rows_->setOpaqueResize(false);
    connect(rows_, &QSplitter::splitterMoved, this, [this] { OnRowsMoved(); });
    setWidget(rows_);
    QSplitter* row = AddRowSplitter(0);
    active_ = MakePane(nullptr);
    row->addWidget(active_);
    connect(
        this, &QMdiSubWindow::windowStateChanged, this,
        [this](Qt::WindowStates, Qt::WindowStates now) { SetFrameActive(now & Qt::WindowActive); });
    OnCommand(ID_WINDOW_SPLIT, [this] { ToggleSplit(); });
    OnUpdateCommand(ID_WINDOW_SPLIT,
                    [this](CommandUI& ui) { ui.checked = Rows() > 1 || Columns() > 1; });
    // A map window only checks that the receiver answers: the opening's product exchange.
    OnCommand(ID_GPS_CONNECT,
              [] { WithTemporaryConnection({}, [](CGpsConnection&) { return 0; }); });
    OnCommand(ID_MAP_CALIBRATE, [this] {
        if (active_) {
            CalibrateMap(*active_, *manager_);
        }
    });
    UpdatePanes();
}

CSplitFrame::~CSplitFrame()
{
    // The sub-window tells its state once more while it goes, when this part is gone.
    disconnect(this, &QMdiSubWindow::windowStateChanged, this, nullptr);
    // The panes go after this window's members: they end their gestures and let go of the
    // tools while the tools are still there.
    DetachViews();
    for (CView* v : Views()) {
        static_cast<CDrawView*>(v)->SetTools(nullptr);
    }
}

CView* CSplitFrame::view() const
{
    return active_;
}

CDrawView* CSplitFrame::ActivePane() const
{
    return active_;
}

std::vector<CView*> CSplitFrame::Views() const
{
    std::vector<CView*> views;
    for (int r = 0; r < Rows(); ++r) {
        for (int c = 0; c < Columns(); ++c) {
            if (CDrawView* pane = Pane(r, c)) {
                views.push_back(pane);
            }
        }
    }
    return views;
}

int CSplitFrame::Rows() const
{
    return rows_->count();
}

int CSplitFrame::Columns() const
{
    auto* row = qobject_cast<QSplitter*>(rows_->widget(0));
    return row ? row->count() : 0;
}

CDrawView* CSplitFrame::Pane(int row, int column) const
{
    auto* r = qobject_cast<QSplitter*>(rows_->widget(row));
    return r ? qobject_cast<CDrawView*>(r->widget(column)) : nullptr;
}

QSplitter* CSplitFrame::AddRowSplitter(int index)
{
    auto* row = new QSplitter(Qt::Horizontal);
    row->setChildrenCollapsible(false);
    row->setOpaqueResize(false);
    connect(row, &QSplitter::splitterMoved, this, [this, row] { OnColumnsMoved(row); });
    rows_->insertWidget(index, row);
    return row;
}

CDrawView* CSplitFrame::MakePane(const CDrawView* like)
{
    auto* pane = dynamic_cast<CDrawView*>(docTemplate()->CreateView(nullptr, document()));
    pane->setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOn);
    pane->setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOn);
    pane->addScrollBarWidget(
        new SplitBox(true, rows_, [this](int position) { SplitRows(position); }), Qt::AlignTop);
    pane->addScrollBarWidget(
        new SplitBox(false, rows_, [this](int position) { SplitColumns(position); }),
        Qt::AlignLeft);
    pane->SetTools(&tools_);
    pane->AttachDocument(document());
    connect(pane, &CDrawView::activationRequested, this, &CSplitFrame::SetActivePane);
    if (like) {
        pane->OnInitialUpdate();
        pane->SetZoom(like->Zoom());
        pane->horizontalScrollBar()->setValue(like->horizontalScrollBar()->value());
        pane->verticalScrollBar()->setValue(like->verticalScrollBar()->value());
    }
    return pane;
}

void CSplitFrame::SplitRows(int position)
{
    int height = rows_->height();
    if (Rows() >= kMaxPanes || position < kMinimumPane || position > height - kMinimumPane) {
        return;
    }
    QList<int> columnSizes = qobject_cast<QSplitter*>(rows_->widget(0))->sizes();
    QSplitter* row = AddRowSplitter(1);
    for (int c = 0; c < columnSizes.size(); ++c) {
        row->addWidget(MakePane(Pane(0, c)));
    }
    row->setSizes(columnSizes);
    rows_->setSizes({position, height - position});
    UpdatePanes();
}

void CSplitFrame::SplitColumns(int position)
{
    int width = rows_->width();
    if (Columns() >= kMaxPanes || position < kMinimumPane || position > width - kMinimumPane) {
        return;
    }
    for (int r = 0; r < Rows(); ++r) {
        auto* row = qobject_cast<QSplitter*>(rows_->widget(r));
        row->addWidget(MakePane(Pane(r, 0)));
        row->setSizes({position, width - position});
    }
    UpdatePanes();
}

void CSplitFrame::ForgetPane(CDrawView* pane)
{
    pane->AttachDocument(nullptr);
    pane->SetTools(nullptr);
    pane->hide();
    pane->setParent(nullptr);
    pane->deleteLater();
}

void CSplitFrame::RemoveRow(int row)
{
    if (Rows() <= 1 || row < 0 || row >= Rows()) {
        return;
    }
    auto* doomed = qobject_cast<QSplitter*>(rows_->widget(row));
    while (doomed->count() > 0) {
        ForgetPane(qobject_cast<CDrawView*>(doomed->widget(0)));
    }
    doomed->hide();
    doomed->setParent(nullptr);
    doomed->deleteLater();
    UpdatePanes();
}

void CSplitFrame::RemoveColumn(int column)
{
    if (Columns() <= 1 || column < 0 || column >= Columns()) {
        return;
    }
    for (int r = 0; r < Rows(); ++r) {
        ForgetPane(Pane(r, column));
    }
    UpdatePanes();
}

void CSplitFrame::ToggleSplit()
{
    if (Rows() == 1 && Columns() == 1) {
        SplitColumns(rows_->width() / 2);
        SplitRows(rows_->height() / 2);
        return;
    }
    // Back to one pane: the active one stays.
    CDrawView* keep = active_ ? active_.data() : Pane(0, 0);
    QWidget* keepRow = keep->parentWidget();
    for (CView* v : Views()) {
        if (v != keep) {
            ForgetPane(static_cast<CDrawView*>(v));
        }
    }
    for (int r = Rows() - 1; r >= 0; --r) {
        QWidget* row = rows_->widget(r);
        if (row != keepRow) {
            row->hide();
            row->setParent(nullptr);
            row->deleteLater();
        }
    }
    UpdatePanes();
}

void CSplitFrame::OnRowsMoved()
{
    QList<int> sizes = rows_->sizes();
    for (int r = 0; r < sizes.size(); ++r) {
        if (sizes[r] < kMinimumPane) {
            RemoveRow(r);
            return;
        }
    }
}

void CSplitFrame::OnColumnsMoved(QSplitter* moved)
{
    QList<int> sizes = moved->sizes();
    for (int c = 0; c < sizes.size(); ++c) {
        if (sizes[c] < kMinimumPane) {
            RemoveColumn(c);
            return;
        }
    }
    // The columns of both rows line up.
    for (int r = 0; r < Rows(); ++r) {
        auto* row = qobject_cast<QSplitter*>(rows_->widget(r));
        if (row != moved) {
            row->setSizes(sizes);
        }
    }
}

void CSplitFrame::SetActivePane(CDrawView* pane)
{
    // The panes share one gesture: the pane left behind ends what it was doing.
    if (active_ && active_ != pane) {
        active_->EndToolGesture();
    }
    active_ = pane;
    UpdatePanes();
}

void CSplitFrame::SetFrameActive(bool active)
{
    frameActive_ = active;
    UpdatePanes();
}

void CSplitFrame::UpdatePanes()
{
    std::vector<CView*> panes = Views();
    if (!active_ || std::find(panes.begin(), panes.end(), active_.data()) == panes.end()) {
        active_ = Pane(0, 0);
    }
    for (CView* v : panes) {
        auto* pane = static_cast<CDrawView*>(v);
        // A split box is there while its direction is not split yet.
        QList<QWidget*> rowBoxes = pane->scrollBarWidgets(Qt::AlignTop);
        QList<QWidget*> columnBoxes = pane->scrollBarWidgets(Qt::AlignLeft);
        for (QWidget* box : rowBoxes) {
            box->setVisible(Rows() < kMaxPanes);
        }
        for (QWidget* box : columnBoxes) {
            box->setVisible(Columns() < kMaxPanes);
        }
        pane->SetActive(frameActive_ && pane == active_);
    }
    // The window's focus goes to its active pane.
    rows_->setFocusProxy(active_);
}
