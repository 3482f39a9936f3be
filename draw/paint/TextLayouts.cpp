#include "draw/paint/TextLayouts.h"

#include <QCoreApplication>
#include <QPaintDevice>
#include <QTextOption>

#include <functional>
#include <string>
#include <unordered_map>

#include "draw/paint/FontMapping.h"
#include "framework/Cp1252.h"

namespace {

// When a store holds this many entries it starts afresh: a bound on memory that a map of a
// few thousand texts stays below.
constexpr size_t kMaxLaidOut = 4096;
constexpr size_t kMaxFonts = 256;

// Everything the lines of a text depend on.
struct LayoutKey {
    std::string text;
    QFont font;
    double width;
    double height;
    int dpi;

    bool operator==(const LayoutKey&) const = default;
};

struct LayoutKeyHash {
    size_t operator()(const LayoutKey& key) const noexcept
    {
        size_t h = std::hash<std::string>()(key.text);
        auto mix = [&h](size_t v) { h ^= v + 0x9e3779b97f4a7c15ULL + (h << 6) + (h >> 2); };
        mix(qHash(key.font));
        mix(std::hash<double>()(key.width));
        mix(std::hash<double>()(key.height));
        mix(std::hash<int>()(key.dpi));
        return h;
    }
};

struct RecordHash {
    size_t operator()(const LogFontA& record) const noexcept
    {
        const LogFontA::Bytes& bytes = record.bytes();
        return std::hash<std::string_view>()(
            std::string_view(reinterpret_cast<const char*>(bytes.data()), bytes.size()));
    }
};

std::vector<TextParagraph> LayOut(std::string_view text, const QFont& font, double width,
                                  double height, const QPaintDevice* device)
{
    QString all = QString::fromStdString(Cp1252ToUtf8(text));
    all.replace(QStringLiteral("\r\n"), QStringLiteral("\n"));
    all.replace(QLatin1Char('\r'), QLatin1Char('\n'));
    QTextOption option(Qt::AlignLeft);
    option.setWrapMode(QTextOption::WordWrap);

    std::vector<TextParagraph> paragraphs;
    double top = 0;
    for (const QString& paragraph : all.split(QLatin1Char('\n'))) {
        auto layout = std::make_unique<QTextLayout>(paragraph, font, device);
        // Keeps the shaped glyphs after drawing, which would otherwise shape them again.
        layout->setCacheEnabled(true);
        layout->setTextOption(option);
        layout->beginLayout();
        double lines = 0;
        for (QTextLine line = layout->createLine(); line.isValid(); line = layout->createLine()) {
            line.setLineWidth(width);
            line.setPosition(QPointF(0, lines));
            lines += line.height();
            if (top + lines >= height) {
                break;
            }
        }
        layout->endLayout();
        paragraphs.push_back({std::move(layout), top});
        top += lines;
        if (top >= height) {
            break;
        }
    }
    return paragraphs;
}

// The texts and fonts kept. Their font engines end with the application, so the stores are
// emptied as it ends: QGuiApplication runs the post routines before it takes the fonts down.
// A later application starts with empty stores.
struct Stores {
    std::unordered_map<LayoutKey, std::vector<TextParagraph>, LayoutKeyHash> laidOut;
    std::unordered_map<LogFontA, QFont, RecordHash> fonts;
    bool postRoutineAdded = false;
};

Stores& StoresOfThread()
{
    thread_local Stores stores;
    return stores;
}

void EmptyStores()
{
    Stores& stores = StoresOfThread();
    stores.laidOut.clear();
    stores.fonts.clear();
    stores.postRoutineAdded = false;
}

Stores& TheStores()
{
    Stores& stores = StoresOfThread();
    if (!stores.postRoutineAdded) {
        qAddPostRoutine(EmptyStores);
        stores.postRoutineAdded = true;
    }
    return stores;
}

}  // namespace

const std::vector<TextParagraph>& LaidOutText(std::string_view text, const QFont& font,
                                              double width, double height,
                                              const QPaintDevice* device)
{
    auto& laidOut = TheStores().laidOut;
    LayoutKey key{std::string(text), font, width, height, device ? device->logicalDpiY() : 0};
    auto found = laidOut.find(key);
    if (found != laidOut.end()) {
        return found->second;
    }
    if (laidOut.size() >= kMaxLaidOut) {
        laidOut.clear();
    }
    std::vector<TextParagraph> paragraphs = LayOut(text, font, width, height, device);
    return laidOut.emplace(std::move(key), std::move(paragraphs)).first->second;
}

const QFont& FontOfRecord(const LogFontA& record)
{
    auto& fonts = TheStores().fonts;
    auto found = fonts.find(record);
    if (found != fonts.end()) {
        return found->second;
    }
    if (fonts.size() >= kMaxFonts) {
        fonts.clear();
    }
    return fonts.emplace(record, FontFromLogFont(record)).first->second;
}
