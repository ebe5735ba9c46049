#include "editor/ApplicationLook.h"

namespace {

struct LookColors {
    int look;
    const char* name;
    const char* window;
    const char* base;
    const char* text;
    const char* highlight;
    // ribbon: background, panel, border, caption, text, application button, its text
    const char* ribbon[7];
};

const LookColors kLooks[] = {
    {210, "Windows 2000 스타일", "#d4d0c8", "#ffffff", "#000000", "#0a246a",
     {"#d4d0c8", "#e4e1da", "#808080", "#c0bcb4", "#000000", "#0a246a", "#ffffff"}},
    {211, "Office XP 스타일", "#f1efe2", "#ffffff", "#000000", "#316ac5",
     {"#ebe9e0", "#fbfaf6", "#a5a29a", "#dcd9cf", "#202020", "#6f8ab8", "#ffffff"}},
    {212, "Windows XP 스타일", "#ece9d8", "#ffffff", "#000000", "#316ac5",
     {"#d8e4f8", "#f4f7fd", "#7a96df", "#b9cdf2", "#0d2a6e", "#2d62c9", "#ffffff"}},
    {213, "Office 2003 스타일", "#c3daf9", "#ffffff", "#00156e", "#fb9a3c",
     {"#c3daf9", "#e3effe", "#6f9dd9", "#9ebef5", "#00156e", "#3f72c4", "#ffffff"}},
    {214, "Visual Studio 2005 스타일", "#eeede5", "#ffffff", "#1e1e1e", "#3399ff",
     {"#e5e3d8", "#f7f6f1", "#aca899", "#d6d2c2", "#1e1e1e", "#8b8370", "#ffffff"}},
    {215, "Office 2007 스타일 (파랑)", "#dfe9f5", "#ffffff", "#15428b", "#f8c86b",
     {"#bfdbff", "#e7f0fb", "#8db2e3", "#c2d8f2", "#15428b", "#2b5ba8", "#ffffff"}},
    {216, "Office 2007 스타일 (검정)", "#535353", "#ffffff", "#f0f0f0", "#f0a030",
     {"#3b3b3b", "#5a5a5a", "#2a2a2a", "#474747", "#ffffff", "#1e1e1e", "#ffb040"}},
    {217, "Office 2007 스타일 (은색)", "#e6e9ee", "#ffffff", "#333a44", "#9aa6ba",
     {"#d0d4dd", "#eef0f4", "#a0a7b4", "#c6cbd5", "#333a44", "#6b7280", "#ffffff"}},
    {218, "Office 2007 스타일 (아쿠아)", "#d7e8ea", "#ffffff", "#1e4f55", "#5fb4bd",
     {"#b7d9dd", "#e4f2f3", "#7bb3b9", "#a6cfd4", "#1e4f55", "#2a8b94", "#ffffff"}},
};

QPalette makePalette(const LookColors& colors)
{
    const QColor window(QString::fromLatin1(colors.window));
    const QColor base(QString::fromLatin1(colors.base));
    const QColor text(QString::fromLatin1(colors.text));
    const QColor highlight(QString::fromLatin1(colors.highlight));
    QPalette palette(window);
    palette.setColor(QPalette::Window, window);
    palette.setColor(QPalette::Button, window);
    palette.setColor(QPalette::Base, base);
    palette.setColor(QPalette::AlternateBase, base.darker(106));
    palette.setColor(QPalette::WindowText, text);
    // Chapters and lists stay dark on light, whatever the frame around them.
    palette.setColor(QPalette::Text, base.lightness() > 128 ? QColor(Qt::black) : text);
    palette.setColor(QPalette::ButtonText, text);
    palette.setColor(QPalette::Highlight, highlight);
    palette.setColor(QPalette::HighlightedText, highlight.lightness() > 150 ? QColor(Qt::black) : QColor(Qt::white));
    palette.setColor(QPalette::Disabled, QPalette::Text, QColor(0x8c, 0x8c, 0x8c));
    palette.setColor(QPalette::Disabled, QPalette::WindowText, QColor(0x8c, 0x8c, 0x8c));
    palette.setColor(QPalette::Disabled, QPalette::ButtonText, QColor(0x8c, 0x8c, 0x8c));
    return palette;
}

platform::RibbonColors makeRibbon(const LookColors& colors)
{
    auto c = [&](int index) { return QColor(QString::fromLatin1(colors.ribbon[index])); };
    return {c(0), c(1), c(2), c(3), c(4), c(5), c(6)};
}

} // namespace

const QList<LookStyle>& CApplicationLook::Looks()
{
    static const QList<LookStyle> looks = [] {
        QList<LookStyle> out;
        for (const LookColors& colors : kLooks)
            out.append({colors.look, QString::fromUtf8(colors.name), makePalette(colors), makeRibbon(colors)});
        return out;
    }();
    return looks;
}

const LookStyle& CApplicationLook::For(int look)
{
    const QList<LookStyle>& looks = Looks();
    for (const LookStyle& style : looks)
        if (style.look == look)
            return style;
    return looks.at(5); // 215: the blue look stands for every other value
}
