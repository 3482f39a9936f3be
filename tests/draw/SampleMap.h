#pragma once

#include <QBuffer>
#include <QImage>
#include <QLinearGradient>
#include <QPainter>

#include "draw/model/CDrawDoc.h"
#include "draw/model/CDrawItem.h"
#include "draw/model/CDrawOleObj.h"
#include "draw/model/CDrawPoly.h"
#include "draw/model/CDrawRect.h"
#include "draw/model/CDrawText.h"
#include "draw/paint/ItemPictures.h"
#include "tests/draw/TestMaps.h"

// The sample map with one object of each kind, as the program writes it: the golden file
// tests/data/orvg/every-kind.orvg and the picture docs/render-sample.png come from it.

inline std::vector<uint8_t> EncodeImage(const QImage& image, const char* format)
{
    QByteArray bytes;
    QBuffer buffer(&bytes);
    buffer.open(QIODevice::WriteOnly);
    image.save(&buffer, format, 90);
    return {bytes.begin(), bytes.end()};
}

// A small landscape: sky, sun, two hills.
inline QImage Landscape(int width, int height, QColor hill)
{
    QImage image(width, height, QImage::Format_RGB32);
    QPainter p(&image);
    QLinearGradient sky(0, 0, 0, height);
    sky.setColorAt(0, QColor(70, 130, 220));
    sky.setColorAt(1, QColor(200, 225, 250));
    p.fillRect(image.rect(), sky);
    p.setRenderHint(QPainter::Antialiasing);
    p.setPen(Qt::NoPen);
    p.setBrush(QColor(255, 210, 60));
    p.drawEllipse(QPointF(width * 0.75, height * 0.3), height * 0.12, height * 0.12);
    p.setBrush(hill.darker(130));
    p.drawEllipse(QPointF(width * 0.2, height * 1.1), width * 0.6, height * 0.55);
    p.setBrush(hill);
    p.drawEllipse(QPointF(width * 0.85, height * 1.15), width * 0.55, height * 0.5);
    return image;
}

inline const char kCompassSvg[] =
    R"(<svg xmlns="http://www.w3.org/2000/svg" width="96" height="96" viewBox="0 0 96 96">)"
    R"(<circle cx="48" cy="48" r="44" fill="#fdf6e3" stroke="#5b4636" stroke-width="3"/>)"
    R"(<polygon points="48,8 56,48 48,88 40,48" fill="#c0392b"/>)"
    R"(<polygon points="8,48 48,40 88,48 48,56" fill="#34495e"/>)"
    R"(<text x="48" y="26" font-size="14" text-anchor="middle" fill="#fff">N</text></svg>)";

inline CDrawOleObj* AddItemObject(CDrawDoc& doc, CPoint at, std::unique_ptr<CDrawItem> item)
{
    auto* object = AddNew<CDrawOleObj>(doc, CRect{at.x, at.y, at.x, at.y});
    CDrawItem* added = doc.AddItem(std::move(item));
    added->SetDrawObj(object);
    object->SetClientItem(added);
    added->SyncExtent();
    return object;
}

inline void BuildSampleMap(CDrawDoc& doc)
{
    doc.SetPaperColour(RGB(255, 250, 235));

    auto* rect = AddNew<CDrawRect>(doc, CRect{40, 40, 240, 160});
    rect->SetPen({PS_INSIDEFRAME, {3, 3}, RGB(30, 60, 140)});
    rect->SetBrush({BS_SOLID, RGB(190, 230, 170), 0});

    auto* round = AddNew<CDrawRect>(doc, CRect{280, 40, 480, 160});
    round->SetShape(CDrawRect::roundRectangle);
    round->DragHandleTo(9, {450, 140});
    round->SetPen({PS_INSIDEFRAME, {2, 2}, RGB(120, 70, 30)});
    round->SetBrush({BS_SOLID, RGB(250, 210, 150), 0});

    auto* oval = AddNew<CDrawRect>(doc, CRect{520, 40, 760, 160});
    oval->SetShape(CDrawRect::ellipse);
    oval->SetPen({PS_SOLID, {1, 1}, RGB(0, 0, 0)});
    oval->SetBrush({BS_HATCHED, RGB(40, 90, 200), HS_DIAGCROSS});

    auto* line = AddNew<CDrawRect>(doc, CRect{760, 190, 520, 330}, true);
    line->SetPen({PS_INSIDEFRAME, {5, 5}, RGB(200, 30, 30)});

    auto* title = AddNew<CDrawText>(doc, CRect{40, 190, 240, 330});
    LogFontA font;
    font.SetHeight(-18);
    font.SetWeight(700);
    font.SetPitchAndFamily(0x22);
    font.SetFaceName("Arial");
    title->SetFont(font);
    title->SetFontFlag(1);
    title->SetText(
        "Karte Nord\r\nJeder Text wird im Rechteck umbrochen und abgeschnitten, "
        "wenn er zu lang f\xfcr sein Rechteck ist.");

    auto* plain = AddNew<CDrawText>(doc, CRect{280, 190, 480, 330});
    plain->SetTransparent(1);
    plain->SetText(
        "Systemschrift, transparent \xfc"
        "ber der Fl\xe4"
        "che");

    auto* star = AddNew<CDrawPoly>(doc, CRect{}, CDrawPoly::polygon);
    for (CPoint p :
         {CPoint{140, 360}, CPoint{199, 540}, CPoint{44, 430}, CPoint{236, 430}, CPoint{81, 540}}) {
        star->AppendVertex(p);
    }
    star->SetBrushFlag(1);
    star->SetBrush({BS_SOLID, RGB(250, 220, 40), 0});

    auto* path = AddNew<CDrawPoly>(doc, CRect{}, CDrawPoly::polyline);
    for (int i = 0; i < 9; ++i) {
        path->AppendVertex({280 + 25 * i, i % 2 ? 380 : 520});
    }
    path->SetPen({PS_DASH, {1, 1}, RGB(0, 120, 60)});

    auto png = std::make_unique<CDrawItem>();
    std::vector<uint8_t> pngBytes = EncodeImage(Landscape(160, 110, QColor(60, 160, 70)), "PNG");
    png->SetEmbeddedFile("landschaft.png", "image/png", pngBytes,
                         NaturalExtent("image/png", pngBytes));
    AddItemObject(doc, {560, 370}, std::move(png));

    auto svg = std::make_unique<CDrawItem>();
    std::vector<uint8_t> svgBytes(kCompassSvg, kCompassSvg + sizeof kCompassSvg - 1);
    svg->SetEmbeddedFile("kompass.svg", "image/svg+xml", svgBytes,
                         NaturalExtent("image/svg+xml", svgBytes));
    AddItemObject(doc, {40, 600}, std::move(svg));

    auto jpeg = std::make_unique<CDrawItem>();
    std::vector<uint8_t> jpegBytes = EncodeImage(Landscape(128, 96, QColor(150, 120, 60)), "JPEG");
    jpeg->SetStaticPicture("foto.jpg", "image/jpeg", jpegBytes,
                           NaturalExtent("image/jpeg", jpegBytes));
    AddItemObject(doc, {180, 600}, std::move(jpeg));

    auto link = std::make_unique<CDrawItem>();
    link->SetLinkedFile("/home/karten/nord/legende.pdf", "application/pdf",
                        NaturalExtent("application/pdf", {}));
    AddItemObject(doc, {360, 600}, std::move(link));

    auto notes = std::make_unique<CDrawItem>();
    std::string text = "Treffpunkt am Waldrand, 9 Uhr.\n";
    std::vector<uint8_t> noteBytes(text.begin(), text.end());
    notes->SetEmbeddedFile("notizen.txt", "text/plain", noteBytes,
                           NaturalExtent("text/plain", noteBytes));
    AddItemObject(doc, {520, 600}, std::move(notes));
}
