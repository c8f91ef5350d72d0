#include "gui/Palette.h"

#include <QFile>
#include <QGuiApplication>
#include <QIconEngine>
#include <QPainter>
#include <QPointer>
#include <QSvgRenderer>
#include <QWidget>

#include <cmath>

// The icons are resources of a static library, registered on first use.
static void registerGuiResources()
{
    Q_INIT_RESOURCE(resources);
}

namespace corvanta {

QColor mixColours(const QColor &from, const QColor &to, double amount)
{
    const auto mix = [amount](double a, double b) { return a + (b - a) * amount; };
    return QColor::fromRgbF(float(mix(from.redF(), to.redF())), float(mix(from.greenF(), to.greenF())),
                            float(mix(from.blueF(), to.blueF())));
}

namespace {

double luminance(const QColor &c)
{
    const auto channel = [](double v) {
        return v <= 0.03928 ? v / 12.92 : std::pow((v + 0.055) / 1.055, 2.4);
    };
    return 0.2126 * channel(c.redF()) + 0.7152 * channel(c.greenF()) + 0.0722 * channel(c.blueF());
}

} // namespace

double contrastRatio(const QColor &a, const QColor &b)
{
    const double la = luminance(a), lb = luminance(b);
    return (std::max(la, lb) + 0.05) / (std::min(la, lb) + 0.05);
}

QColor rowTint(const QPalette &palette, int rgb)
{
    const QColor colour = QColor::fromRgb(QRgb(0xFF000000u | unsigned(rgb)));
    const double amount = 1.0 - (colour.redF() + colour.greenF() + colour.blueF()) / 3.0;
    return mixColours(palette.color(QPalette::Active, QPalette::Base),
                      palette.color(QPalette::Active, QPalette::Text), amount);
}

SelectionColours selectionColours(const QPalette &palette, bool focused)
{
    const QColor active = palette.color(QPalette::Active, QPalette::Highlight);
    if (focused)
        return {active, palette.color(QPalette::Active, QPalette::HighlightedText)};
    const QColor inactive = palette.color(QPalette::Inactive, QPalette::Highlight);
    if (inactive != active)
        return {inactive, palette.color(QPalette::Inactive, QPalette::HighlightedText)};
    return {mixColours(palette.color(QPalette::Active, QPalette::Base), active, 0.45),
            palette.color(QPalette::Active, QPalette::Text)};
}

QPixmap PaintedIconEngine::pixmap(const QSize &size, QIcon::Mode mode, QIcon::State state)
{
    return scaledPixmap(size, mode, state, 1.0);
}

QPixmap PaintedIconEngine::scaledPixmap(const QSize &size, QIcon::Mode mode, QIcon::State state, qreal scale)
{
    QPixmap pixmap(size * scale);
    pixmap.fill(Qt::transparent);
    {
        QPainter painter(&pixmap);
        paint(&painter, QRect(QPoint(), pixmap.size()), mode, state);
    }
    pixmap.setDevicePixelRatio(scale);
    return pixmap;
}

namespace {

class PaletteIconEngine : public PaintedIconEngine
{
public:
    PaletteIconEngine(const QString &resource, const QWidget *source) : source_(source)
    {
        QFile file(resource);
        if (file.open(QIODevice::ReadOnly))
            svg_ = file.readAll();
    }

    void paint(QPainter *painter, const QRect &rect, QIcon::Mode mode, QIcon::State) override
    {
        const QPalette palette = source_ ? source_->palette() : QGuiApplication::palette();
        const QPalette::ColorGroup group = mode == QIcon::Disabled ? QPalette::Disabled : QPalette::Active;
        QColor text = palette.color(group, mode == QIcon::Selected ? QPalette::HighlightedText : QPalette::ButtonText);
        QColor accent = palette.color(group, QPalette::Highlight);
        QColor accentText = palette.color(group, QPalette::HighlightedText);
        if (mode == QIcon::Disabled) {
            // A disabled highlight is often the enabled one: fade it towards the button itself.
            const QColor button = palette.color(QPalette::Disabled, QPalette::Button);
            accent = mixColours(accent, button, 0.6);
            accentText = mixColours(accentText, button, 0.6);
        }
        QByteArray svg = svg_;
        svg.replace("accentTextColor", accentText.name().toLatin1());
        svg.replace("accentColor", accent.name().toLatin1());
        svg.replace("currentColor", text.name().toLatin1());
        QSvgRenderer renderer(svg);
        renderer.render(painter, rect);
    }

    QIconEngine *clone() const override { return new PaletteIconEngine(*this); }
    QString key() const override { return QStringLiteral("CorvantaPaletteIcon"); }
    bool isNull() override { return svg_.isEmpty(); }

private:
    QByteArray svg_;
    QPointer<const QWidget> source_;
};

} // namespace

QIcon paletteIcon(const QString &svgResource, const QWidget *source)
{
    static const bool registered = (registerGuiResources(), true);
    Q_UNUSED(registered);
    return QIcon(new PaletteIconEngine(svgResource, source));
}

QColor readableColour(const QColor &wanted, const QColor &fallback, const QColor &behind, double ratio)
{
    for (int step = 0; step <= 10; ++step) {
        const QColor candidate = mixColours(wanted, fallback, step / 10.0);
        if (contrastRatio(candidate, behind) >= ratio)
            return candidate;
    }
    return fallback;
}

QColor focusMarkColour(const QPalette &palette, const QColor &behind)
{
    QColor best;
    const QColor candidates[] = {palette.color(QPalette::Active, QPalette::Highlight),
        palette.color(QPalette::Active, QPalette::Text), palette.color(QPalette::Active, QPalette::HighlightedText),
        QColor(Qt::black), QColor(Qt::white)};
    for (const QColor &candidate : candidates) {
        if (contrastRatio(candidate, behind) >= 3.0)
            return candidate;
        if (!best.isValid() || contrastRatio(candidate, behind) > contrastRatio(best, behind))
            best = candidate;
    }
    return best;
}

} // namespace corvanta
