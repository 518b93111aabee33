#include <cstring>

#include <gtest/gtest.h>

#include "scheme/database/compdb_record.h"
#include "scheme/database/compdb_table.h"
#include "scheme/model/block.h"

namespace {

TEST(BlockDbRecord, TakesModelOptionsTableAndPriceFromTheRecord) {
  const char text[] =
      "Resistors\n"
      "Model:80\tPrice:40\tPower:40\n"
      "model\tprice\tpower\n"
      "\t\t\n"
      "MLT-0.25\t12.5\t?7:0.125;0.25\n";
  CompDbTable table(L"resisters");
  ASSERT_TRUE(table.LoadFromBytes(text, sizeof text - 1));
  ASSERT_EQ(1, table.GetRecordCount());
  CompDbRecord* record = table.GetRecord(0);
  ASSERT_NE(nullptr, record);

  CSCHBlock block;
  block.ApplyDbRecord(record);
  EXPECT_STREQ("MLT-0.25", block.model);
  EXPECT_STREQ(L"resisters", block.tableName);
  EXPECT_DOUBLE_EQ(12.5, block.price);
  EXPECT_STREQ("7:0;", block.options);

  // A null record changes nothing.
  block.ApplyDbRecord(nullptr);
  EXPECT_STREQ("MLT-0.25", block.model);
}

}  // namespace
