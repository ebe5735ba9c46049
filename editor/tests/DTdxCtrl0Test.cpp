// The control wrapper against the recording fake: every member reaches the control with
// its arguments, and the parameter-set protocol works the way the commands use it.
#include "FakeTdxControl.h"

#include "editor/DTdxCtrl0.h"

#include <gtest/gtest.h>

namespace {

class DTdxCtrl0Test : public ::testing::Test {
protected:
    CDTdxCtrl0::ScopedFactory factory{[](QWidget*) { return std::make_unique<FakeTdxControl>(); }};
    CDTdxCtrl0 ctrl;

    FakeTdxControl& fake()
    {
        if (!ctrl.IsCreated())
            EXPECT_TRUE(ctrl.Create(nullptr, QRect(0, 0, 200, 100), 0));
        return *FakeTdxControl::of(ctrl);
    }
};

TEST_F(DTdxCtrl0Test, EveryMemberIsHarmlessBeforeCreate)
{
    long value = 7;
    short overwrite = 3;
    QString text = "x";
    EXPECT_FALSE(ctrl.OpenDocument("/a.xhtml", "HTML", ""));
    EXPECT_FALSE(ctrl.SaveDocumentAs("/a.xhtml", "XHTML", ""));
    EXPECT_FALSE(ctrl.RunAction("Undo"));
    EXPECT_FALSE(ctrl.IsModified(1));
    EXPECT_FALSE(ctrl.RegisterModule("FilePathCheckDLL", "TdxFileCheck"));
    EXPECT_FALSE(ctrl.GetStatus(value, value, value, value, value, value, overwrite, text));
    EXPECT_EQ(value, 7);
    EXPECT_TRUE(ctrl.CreateAction("PageSetup").IsNull());
    EXPECT_TRUE(ctrl.GetFirstObject().IsNull());
    EXPECT_TRUE(ctrl.GetViewProperties().IsNull());
    EXPECT_TRUE(ctrl.GetScrollState().IsNull());
    EXPECT_TRUE(ctrl.GetPicturePath(1).isEmpty());
    ctrl.ClearDocument(1);
    ctrl.SetViewProperties(CDTdxParameterSet());
}

TEST_F(DTdxCtrl0Test, FailingFactoryLeavesTheWrapperEmpty)
{
    CDTdxCtrl0::ScopedFactory none{[](QWidget*) { return std::unique_ptr<tdx::Control>(); }};
    CDTdxCtrl0 other;
    EXPECT_FALSE(other.Create(nullptr, QRect(0, 0, 10, 10), 0));
    EXPECT_FALSE(other.IsCreated());
}

TEST_F(DTdxCtrl0Test, PlainMembersReachTheControlWithTheirArguments)
{
    FakeTdxControl& control = fake();
    control.picturePaths[4] = "/work/book/OEBPS/images/a.png";
    control.modified = true;

    EXPECT_TRUE(ctrl.RegisterModule("FilePathCheckDLL", "TdxFileCheck"));
    EXPECT_TRUE(ctrl.OpenDocument("/w/c.xhtml", "HTML", "imagelink:true;tdxstyle:false;code:utf8;"));
    ctrl.ClearDocument(1);
    EXPECT_TRUE(ctrl.SaveDocumentAs("/w/c.xhtml", "XHTML", "imagePath:images;textunit:em;"));
    EXPECT_TRUE(ctrl.RunAction("CharShapeBold"));
    EXPECT_TRUE(ctrl.IsModified(1));
    EXPECT_EQ(ctrl.GetPicturePath(4), "/work/book/OEBPS/images/a.png");

    EXPECT_EQ(control.log, QStringList({
        "registerModule|FilePathCheckDLL|TdxFileCheck",
        "open|/w/c.xhtml|HTML|imagelink:true;tdxstyle:false;code:utf8;",
        "clear|1",
        "saveAs|/w/c.xhtml|XHTML|imagePath:images;textunit:em;",
        "run|CharShapeBold",
        "isModified|1",
        "picturePath|4",
    }));
}

TEST_F(DTdxCtrl0Test, ResultsOfTheControlComeBack)
{
    FakeTdxControl& control = fake();
    control.openResult = false;
    control.saveResult = false;
    control.runnable = {"Undo"};
    EXPECT_FALSE(ctrl.OpenDocument("/w/c.xhtml", "HTML", ""));
    EXPECT_FALSE(ctrl.SaveDocumentAs("/w/c.xhtml", "XHTML", ""));
    EXPECT_FALSE(ctrl.RunAction("NoSuchAction"));
    EXPECT_TRUE(ctrl.RunAction("Undo"));
    EXPECT_TRUE(ctrl.CreateAction("NoSuchAction").IsNull());
}

TEST_F(DTdxCtrl0Test, StatusReturnsTheEightValuesInOrder)
{
    fake().statusValues = {2, 1, 3, 1, 12, 5, 1, QStringLiteral("본문")};
    long sections = 0, section = 0, page = 0, column = 0, line = 0, position = 0;
    short overwrite = 0;
    QString text;
    ASSERT_TRUE(ctrl.GetStatus(sections, section, page, column, line, position, overwrite, text));
    EXPECT_EQ(QList<long>({sections, section, page, column, line, position}),
              QList<long>({2, 1, 3, 1, 12, 5}));
    EXPECT_EQ(overwrite, 1);
    EXPECT_EQ(text, QStringLiteral("본문"));
}

TEST_F(DTdxCtrl0Test, ViewAndScrollSetsAreReadChangedAndPutBack)
{
    FakeTdxControl& control = fake();
    CDTdxParameterSet view = ctrl.GetViewProperties();
    EXPECT_EQ(view.GetItemLong("ZoomRatio"), 100);
    view.SetItem("ZoomType", 0);
    view.SetItem("ZoomRatio", 140);
    ctrl.SetViewProperties(view);

    control.scroll->setItem("VertPos", 250);
    CDTdxParameterSet scroll = ctrl.GetScrollState();
    EXPECT_EQ(scroll.GetItemLong("VertPos"), 250);
    scroll.SetItem("VertPos", 40);
    scroll.SetItem("VertLimitPos", 900);
    ctrl.SetScrollState(scroll);

    EXPECT_TRUE(control.log.contains("setViewProperties|0|140"));
    EXPECT_TRUE(control.log.contains("setScrollState|40|900"));
}

// The pattern every parameter action follows: make the action, its set, fill defaults,
// change items (sub-set included), execute.
TEST_F(DTdxCtrl0Test, ActionWithParametersRunsInTheFixedOrder)
{
    FakeTdxControl& control = fake();
    control.defaultsOf("PageSetup")->createItemSet("PageDef", "PageDef")->setItem("PaperWidth", 59528);
    control.defaultsOf("PageSetup")->setItem("ApplyTo", 1);

    CDTdxAction action = ctrl.CreateAction("PageSetup");
    ASSERT_FALSE(action.IsNull());
    CDTdxParameterSet set = action.CreateSet();
    EXPECT_EQ(set.GetSetId(), "PageSetup");
    action.GetDefault(set);
    EXPECT_EQ(set.GetItemLong("ApplyTo"), 1);
    set.SetItem("ApplyClass", 24);
    set.SetItem("ApplyTo", 3);
    CDTdxParameterSet pageDef = set.CreateItemSet("PageDef", "PageDef");
    EXPECT_EQ(pageDef.GetItemLong("PaperWidth"), 59528) << "the sub-set filled by the defaults";
    pageDef.SetItem("PaperWidth", 26844);
    action.Execute(set);

    EXPECT_EQ(control.log, QStringList({"createAction|PageSetup", "createSet|PageSetup",
                                        "fillDefaults|PageSetup", "execute|PageSetup"}));
    ASSERT_EQ(control.executed.size(), 1);
    const tdx::ParameterSetPtr executed = control.executed.first().set;
    EXPECT_EQ(executed->intItem("ApplyClass"), 24);
    EXPECT_EQ(executed->intItem("ApplyTo"), 3);
    EXPECT_EQ(executed->itemSet("PageDef")->intItem("PaperWidth"), 26844);
}

TEST_F(DTdxCtrl0Test, ItemArraysCarryTheirElementsToTheStyleMembers)
{
    FakeTdxControl& control = fake();
    CDTdxAction action = ctrl.CreateAction("StyleTemplate");
    CDTdxParameterSet set = action.CreateSet();
    CDTdxParameterArray engs = set.CreateItemArray("NameEngs", 17);
    CDTdxParameterArray locals = set.CreateItemArray("NameLocals", 17);
    action.GetDefault(set);
    EXPECT_TRUE(engs.SetItem(0, "Normal"));
    EXPECT_TRUE(locals.SetItem(16, QStringLiteral("글머리")));
    EXPECT_FALSE(engs.SetItem(17, "Page Number")) << "outside the array";
    set.SetItem("FileName", "/t/x.sty");
    EXPECT_TRUE(ctrl.ExportStyles(set));
    EXPECT_TRUE(ctrl.ImportStyles(set));

    ASSERT_EQ(control.exported.size(), 1);
    const auto exported = control.exported.first();
    EXPECT_EQ(exported->itemArray("NameEngs")->count(), 17);
    EXPECT_EQ(exported->itemArray("NameEngs")->item(0).toString(), "Normal");
    EXPECT_EQ(exported->itemArray("NameLocals")->item(16).toString(), QStringLiteral("글머리"));
    EXPECT_EQ(control.log.mid(control.log.size() - 2),
              QStringList({"exportStyles|/t/x.sty", "importStyles|/t/x.sty"}));
}

TEST_F(DTdxCtrl0Test, ObjectWalkReachesTheLastObjectAndWritesPropertiesBack)
{
    FakeTdxControl& control = fake();
    control.addObject("gso")->setItem("Width", 7200);
    control.addObject("tbl");

    QStringList ids;
    const CDTdxShapeObject last = ctrl.GetLastObject();
    CDTdxShapeObject object = ctrl.GetFirstObject();
    for (; !object.IsNull() && !(object == last); object = object.GetNext())
        ids << object.GetId();
    EXPECT_EQ(ids, QStringList({"gso", "tbl"}));
    EXPECT_TRUE(object == last);

    CDTdxShapeObject picture = ctrl.GetFirstObject();
    CDTdxParameterSet properties = picture.GetProperties();
    EXPECT_EQ(properties.GetItemLong("Width"), 7200);
    properties.SetItem("Width", 5000);
    EXPECT_EQ(picture.GetProperties().GetItemLong("Width"), 7200) << "a read is a copy";
    EXPECT_TRUE(picture.SetProperties(properties));
    EXPECT_EQ(picture.GetProperties().GetItemLong("Width"), 5000);
}

TEST_F(DTdxCtrl0Test, NullWrappersIgnoreCalls)
{
    CDTdxParameterSet set;
    set.SetItem("x", 1);
    EXPECT_FALSE(set.GetItem("x").isValid());
    EXPECT_TRUE(set.CreateItemSet("PageDef", "PageDef").IsNull());
    EXPECT_TRUE(set.CreateItemArray("a", 2).IsNull());
    CDTdxAction action;
    EXPECT_TRUE(action.CreateSet().IsNull());
    EXPECT_FALSE(action.Execute(set));
    CDTdxShapeObject object;
    EXPECT_TRUE(object.GetNext().IsNull());
    EXPECT_EQ(object.GetId(), QString());
}

} // namespace
