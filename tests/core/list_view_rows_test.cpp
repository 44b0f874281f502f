// The rows behind the owner-data list: ticking the way the list view's state messages do, the
// texts it asks for, and its type-ahead search.
#include "core/list_view_rows.h"

#include <gtest/gtest.h>

#include "core/exceptions.h"

namespace {

TListViewRows ThreeRows() {
  TListViewRows rows;
  rows.Replace({{"DM-Rankin.ut2", "2KB", "Deathmatch Map", 0, false},
                {"dm-foundry.ut2", "1.50MB", "Map", 1, false},
                {"Rock.utx", "0 bytes", "Texture", 0, false}});
  return rows;
}

std::vector<bool> Ticks(const TListViewRows& rows) {
  std::vector<bool> ticks;
  for (int row = 0; row < rows.Count(); ++row) ticks.push_back(rows.Row(row).Ticked);
  return ticks;
}

TEST(ListViewRows, StateImageMessagesTickLikeAListThatHoldsItsRows) {
  const struct {
    const char* Case;
    int Row;
    unsigned Image;
    bool Accepted;
    std::vector<bool> Ticks;
  } cases[] = {
      {"tick one row", 1, TickedStateImage, true, {false, true, false}},
      {"every row", -1, TickedStateImage, true, {true, true, true}},
      {"no check box image", 1, 0, false, {false, false, false}},
      {"an image beyond the check boxes", 1, 3, false, {false, false, false}},
      {"past the last row", 3, TickedStateImage, false, {false, false, false}},
      {"below -1", -2, TickedStateImage, false, {false, false, false}},
  };
  for (const auto& each : cases) {
    SCOPED_TRACE(each.Case);
    TListViewRows rows = ThreeRows();
    EXPECT_EQ(rows.ApplyStateImage(each.Row, each.Image), each.Accepted);
    EXPECT_EQ(Ticks(rows), each.Ticks);
  }
  TListViewRows rows = ThreeRows();
  rows.TickAll();
  EXPECT_TRUE(rows.ApplyStateImage(-1, UntickedStateImage));
  EXPECT_EQ(Ticks(rows), (std::vector<bool>{false, false, false}));
}

TEST(ListViewRows, RowsOutsideTheListRaiseTheListIndexError) {
  TListViewRows rows = ThreeRows();
  for (int row : {-1, 3}) {
    try {
      rows.Toggle(row);
      ADD_FAILURE() << row;
    } catch (const EListError& error) {
      EXPECT_EQ(std::string(error.what()), "List index out of bounds (" + std::to_string(row) + ")");
    }
  }
}

TEST(ListViewRows, TypeAheadSearchFindsCaptionsFromTheStartRow) {
  const struct {
    const char* Text;
    int Start;
    bool Partial, Wrap;
    int Found;
  } cases[] = {
      {"dm", 0, true, false, 0},           // case of A to Z ignored
      {"DM", 1, true, false, 1},           // from the start row on
      {"dm", 2, true, false, -1},          // no wrap: nothing below
      {"dm", 2, true, true, 0},            // wrap to the top
      {"rock.utx", 0, false, false, 2},    // whole caption
      {"Rock", 0, false, false, -1},       // whole caption needed without partial
      {"Rock.utx!", 0, true, false, -1},   // longer than every caption
      {"r", 7, true, false, 2},            // a start outside the list starts at the top
  };
  const TListViewRows rows = ThreeRows();
  for (const auto& each : cases)
    EXPECT_EQ(rows.FindCaption(each.Text, each.Start, each.Partial, each.Wrap), each.Found)
        << each.Text << " from " << each.Start;
  EXPECT_EQ(TListViewRows().FindCaption("a", 0, true, true), -1);
}

bool NoLeadBytes(unsigned char) { return false; }

// Positions are as shown: the row followed, the type-ahead search.
TEST(ListViewRows, SortedRowsAreAddressedAsShown) {
  TListViewRows rows = ThreeRows();
  EXPECT_EQ(rows.SortBy(TListingSort{TListingSortColumn::Type, true}, NoLeadBytes, 0), 2);  // Rock, dm-f, DM-R
  EXPECT_EQ(rows.FindCaption("dm", 0, true, false), 1);
}

TEST(ListViewRows, CopyToBufferCutsToFitAndTerminates) {
  char buffer[6];
  CopyToBuffer("Rock.utx", buffer, sizeof buffer);
  EXPECT_STREQ(buffer, "Rock.");
  CopyToBuffer("", buffer, sizeof buffer);
  EXPECT_STREQ(buffer, "");
  buffer[0] = 'x';
  CopyToBuffer("Rock", buffer, 0);  // no room at all: untouched
  EXPECT_EQ(buffer[0], 'x');
}

}  // namespace
