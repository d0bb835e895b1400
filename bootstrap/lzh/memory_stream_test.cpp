// The memory stream: writes overwrite then grow, reads stop at the end, the
// position stays within the stream.
#include "memory_stream.h"

#include <gtest/gtest.h>
#include <string>

TEST(MemoryStream, WritesOverwriteThenGrowAndReadsStopAtTheEnd) {
    TMemoryStream stream;
    stream.Write("abcdef", 6);
    EXPECT_EQ(stream.Size(), 6u);
    EXPECT_EQ(stream.Position(), 6u);
    stream.SetPosition(4);
    stream.Write("XYZ", 3);
    EXPECT_EQ(std::string(reinterpret_cast<const char*>(stream.Memory()), stream.Size()),
              "abcdXYZ");

    char buffer[16] = {};
    stream.SetPosition(5);
    EXPECT_EQ(stream.Read(buffer, sizeof buffer), 2u);
    EXPECT_EQ(std::string(buffer, 2), "YZ");
    EXPECT_EQ(stream.Read(buffer, sizeof buffer), 0u);
}

TEST(MemoryStream, PositionStaysWithinTheStream) {
    TMemoryStream stream;
    stream.Write("abcdef", 6);
    stream.SetPosition(100);
    EXPECT_EQ(stream.Position(), 6u);
    stream.SetSize(3);
    EXPECT_EQ(stream.Position(), 3u);
    stream.SetSize(5);
    EXPECT_EQ(stream.Memory()[4], 0);
    stream.Clear();
    EXPECT_EQ(stream.Size(), 0u);
    EXPECT_EQ(stream.Position(), 0u);
}
