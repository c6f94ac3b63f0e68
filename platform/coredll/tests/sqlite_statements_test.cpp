// The device stores' statements: made once per text and reused, each use
// starting unbound and from its first row, a query free to run inside
// another of the same text.
#include <TempDevice.h>
#include <gtest/gtest.h>
#include <sqlite_db.h>

#include <string>

namespace {

TEST(SqliteStatements, AReusedStatementStartsAfreshAndNestsWithItsOwnText) {
    testing_support::TempFolder folder;
    std::string error;
    std::unique_ptr<host::Database> db = host::Database::Open(
        folder.path() + "/probe.db", "CREATE TABLE IF NOT EXISTS t(id INTEGER PRIMARY KEY, v INTEGER);", &error);
    ASSERT_TRUE(db) << error;
    for (int i = 1; i <= 3; ++i)
        ASSERT_TRUE(db->Prepare("INSERT INTO t(id, v) VALUES (?, ?)").Bind(1, i).Bind(2, i * 10).Run());

    const char* const kAll = "SELECT v FROM t WHERE id >= ? ORDER BY id";
    {
        // Left after one row: the next use starts from the first one again.
        host::Statement st = db->Prepare(kAll);
        st.Bind(1, 1);
        ASSERT_TRUE(st.Step());
        EXPECT_EQ(st.Int(0), 10);
    }
    int outer = 0, inner = 0;
    host::Statement st = db->Prepare(kAll);
    st.Bind(1, 1);
    while (st.Step()) {
        ++outer;
        host::Statement nested = db->Prepare(kAll);
        nested.Bind(1, 2);
        while (nested.Step()) ++inner;
    }
    EXPECT_EQ(outer, 3);
    EXPECT_EQ(inner, 6);

    // A parameter left unbound reads as NULL, not as the last use's value.
    host::Statement unbound = db->Prepare(kAll);
    EXPECT_FALSE(unbound.Step());
    EXPECT_EQ(unbound.error(), SQLITE_OK);

    // A text that does not parse gives no statement, every time.
    for (int i = 0; i < 2; ++i) {
        host::Statement bad = db->Prepare("SELEC v FROM t");
        EXPECT_FALSE(bad.ok());
        EXPECT_NE(bad.error(), SQLITE_OK);
    }
}

}  // namespace
