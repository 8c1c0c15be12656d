// The IC-card table's column change on a real SQLite file through the host.
#include "ui/IcCardTableMigration.h"

#include "hostmodel/HostModel.h"
#include "support/TempFolder.h"

#include <gmock/gmock.h>
#include <gtest/gtest.h>

using hostmodel::Model;
using Rows = std::vector<std::vector<std::string>>;

namespace {

class IcCardTableMigrationTest : public testing::Test {
protected:
    void Configure(const std::string& script)
    {
        Model().Reset();
        hostmodel::SubAppSetup setup;
        setup.code = "WSCBS";
        setup.folder = folder.Path();
        setup.databaseFile = folder.Path() + "wscbs.db";
        setup.databaseScript = folder.Write("wscbs.sql", script);
        Model().AddSubApp(setup);
        Model().SetCurrentSubApp("WSCBS");
    }
    void TearDown() override { Model().Reset(); }

    std::vector<std::string> Statements()
    {
        std::vector<std::string> statements;
        for (const hostmodel::CallRecord& call : Model().Calls())
            if (call.function == "ExecADOQueryMsg")
                statements.push_back(call.arguments);
        return statements;
    }

    testing_support::TempFolder folder;
};

} // namespace

TEST_F(IcCardTableMigrationTest, SetsBothColumnsToFourCharacterTextKeepingTheRows)
{
    Configure("CREATE TABLE cs_ickxx (qysbh Text(20), icxlh Integer, fjksm Integer, bz Text(50));\n"
              "INSERT INTO cs_ickxx VALUES ('330106999900017', 12, 3, 'main');\n");
    ui::AlterIcCardColumns();

    const std::vector<std::string> statements = Statements();
    ASSERT_EQ(statements.size(), 2u);
    EXPECT_THAT(statements[0], testing::HasSubstr("alter table cs_ickxx alter column icxlh Text(4)"));
    EXPECT_THAT(statements[1], testing::HasSubstr("alter table cs_ickxx alter column fjksm Text(4)"));
    EXPECT_THAT(statements[0], testing::HasSubstr("WSCBSMainCon"));
    EXPECT_TRUE(Model().Messages().empty());

    EXPECT_EQ(Model().QueryDatabase("select name, type from pragma_table_info('cs_ickxx')"),
              (Rows{{"qysbh", "Text(20)"}, {"icxlh", "Text(4)"}, {"fjksm", "Text(4)"}, {"bz", "Text(50)"}}));
    EXPECT_EQ(Model().QueryDatabase("select qysbh, icxlh, fjksm, bz from cs_ickxx"),
              (Rows{{"330106999900017", "12", "3", "main"}}));

    // Again on columns that already have the type: nothing to report.
    Model().ClearRecords();
    ui::AlterIcCardColumns();
    EXPECT_EQ(Statements().size(), 2u);
    EXPECT_TRUE(Model().Messages().empty());
}

TEST_F(IcCardTableMigrationTest, WithoutTheTableEachStatementIsAnnouncedOnce)
{
    Configure("CREATE TABLE other (a Integer);\n");
    ui::AlterIcCardColumns();
    EXPECT_EQ(Statements().size(), 2u);
    ASSERT_EQ(Model().Messages().size(), 2u);
    for (const hostmodel::InforMessage& message : Model().Messages()) {
        EXPECT_EQ(message.code, 70001005);
        EXPECT_EQ(message.text, "");
        EXPECT_TRUE(message.flag);
    }
}

TEST_F(IcCardTableMigrationTest, OnlyTheFailingStatementIsAnnounced)
{
    Configure("CREATE TABLE cs_ickxx (qysbh Text(20), icxlh Integer);\n");
    ui::AlterIcCardColumns();
    EXPECT_EQ(Statements().size(), 2u);
    ASSERT_EQ(Model().Messages().size(), 1u);
    EXPECT_EQ(Model().Messages()[0].code, 70001005);
    EXPECT_EQ(Model().QueryDatabase("select type from pragma_table_info('cs_ickxx') where name = 'icxlh'"),
              (Rows{{"Text(4)"}}));
}
