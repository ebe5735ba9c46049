// Makes one of the word-processor templates the editor ships, at build time:
//   kvx_make_template PAGE.xhtml STYLES.sty OUT.tdt
// The page becomes the template's content (and so its preview), the style file its style
// list, on the reading device's page.
#include "components/tdx/Control.h"

#include <QApplication>

#include <cstdio>

namespace {

// The reading device's page, in 1/7200 inch: the page the editor gives every chapter.
const struct {
    const char* name;
    int value;
} kDevicePage[] = {{"PaperWidth", 26844}, {"PaperHeight", 36284}, {"LeftMargin", 1417}, {"RightMargin", 1417},
                   {"TopMargin", 2551},   {"BottomMargin", 2551}, {"HeaderLen", 0},      {"FooterLen", 0}};

bool takeStyles(tdx::Control& control, const QString& styleFile)
{
    const tdx::ActionPtr action = control.createAction(QStringLiteral("StyleTemplate"));
    if (!action)
        return false;
    const tdx::ParameterSetPtr set = action->createSet();
    set->setItem(QStringLiteral("FileName"), styleFile);
    return action->fillDefaults(*set) && control.importStyles(*set);
}

bool setDevicePage(tdx::Control& control)
{
    const tdx::ActionPtr action = control.createAction(QStringLiteral("PageSetup"));
    if (!action)
        return false;
    const tdx::ParameterSetPtr set = action->createSet();
    if (!action->fillDefaults(*set))
        return false;
    const tdx::ParameterSetPtr page = set->createItemSet(QStringLiteral("PageDef"), QStringLiteral("PageDef"));
    for (const auto& item : kDevicePage)
        page->setItem(QString::fromLatin1(item.name), item.value);
    return action->execute(*set);
}

} // namespace

int main(int argc, char** argv)
{
    if (argc != 4) {
        std::fputs("usage: kvx_make_template PAGE.xhtml STYLES.sty OUT.tdt\n", stderr);
        return 2;
    }
    QApplication application(argc, argv);
    const QStringList arguments = QApplication::arguments();
    const std::unique_ptr<tdx::Control> control = tdx::createControl(nullptr);
    const char* failed = nullptr;
    if (!control->open(arguments.at(1), QStringLiteral("HTML"), QStringLiteral("imagelink:true;tdxstyle:true;code:utf8")))
        failed = "cannot read the page";
    else if (!takeStyles(*control, arguments.at(2)))
        failed = "cannot read the style file";
    else if (!setDevicePage(*control))
        failed = "cannot set the page";
    else if (!control->saveAs(arguments.at(3), QStringLiteral("TDX"), QString()))
        failed = "cannot write the template";
    if (failed) {
        std::fprintf(stderr, "kvx_make_template: %s\n", failed);
        return 1;
    }
    return 0;
}
