// The helpers that make S-record files, loader images and firmware images.
#include <gtest/gtest.h>

#include <algorithm>

#include "SimTestSupport.h"
#include "receiver-sim/Flash.h"
#include "receiver-sim/FirmwareImage.h"
#include "receiver-sim/LoaderImage.h"
#include "receiver-sim/SRecord.h"
#include "receiver-sim/SRecordWriter.h"

using namespace simtest;

namespace {

bool contains(const Bytes& haystack, std::string_view needle) {
    return std::search(haystack.begin(), haystack.end(), needle.begin(), needle.end()) != haystack.end();
}

}  // namespace

TEST(SRecordWriter, ShippedLayoutFromAnImageOf306220Bytes) {
    const Bytes image = sim::FirmwareImage::make(sim::FirmwareImage::ShippedSize, "2.4.13.03.10");
    const auto records = sim::SRecordWriter::records(image);
    ASSERT_EQ(records.size(), 19'141u);
    EXPECT_EQ(records.front(), "S00600004844521B\r\n");
    EXPECT_EQ(records.back(), "S70500000000FA\r\n");
    EXPECT_EQ(records[1].size(), 48u);
    EXPECT_EQ(records[records.size() - 2].size(), 40u);  // 12 data bytes
    EXPECT_EQ(records[records.size() - 2].substr(0, 4), "S311");
    size_t total = 0;
    Bytes rebuilt;
    for (const auto& line : records) {
        total += line.size();
        ASSERT_EQ(line.substr(line.size() - 2), "\r\n");
        sim::SRecord record;
        ASSERT_EQ(sim::SRecord::parse(line.substr(0, line.size() - 2), record), "") << line;
        if (record.isData()) {
            EXPECT_EQ(record.address, rebuilt.size());
            rebuilt.insert(rebuilt.end(), record.data.begin(), record.data.end());
        }
    }
    EXPECT_EQ(total, 918'698u);  // the shipped file's size
    EXPECT_EQ(rebuilt, image);
    EXPECT_EQ(sim::SRecordWriter::file(image).size(), total);
}

TEST(SRecordWriter, RecordsOfEveryTypeParse) {
    const uint8_t data[] = {0xDE, 0xAD, 0xBE, 0xEF};
    for (char type : {'0', '1', '2', '3', '5', '7', '8', '9'}) {
        SCOPED_TRACE(type);
        const std::string line = sim::SRecordWriter::record(type, 0x1234, data, sizeof data);
        sim::SRecord record;
        ASSERT_EQ(sim::SRecord::parse(line.substr(0, line.size() - 2), record), "");
        EXPECT_EQ(record.type, type);
        EXPECT_EQ(record.address, 0x1234u);
        EXPECT_EQ(record.data, Bytes(data, data + 4));
    }
}

TEST(LoaderImage, DeterministicWithTheLoadersTexts) {
    const Bytes image = sim::LoaderImage::make();
    EXPECT_EQ(image.size(), 14'316u);
    EXPECT_EQ(image, sim::LoaderImage::make());
    EXPECT_NE(image, sim::LoaderImage::make(14'316, 2));
    EXPECT_TRUE(contains(image, "SA"));
    EXPECT_TRUE(contains(image, "SE:3 -- bad S-Record"));
    for (size_t size : {0u, 1u, 10u, 100u}) EXPECT_EQ(sim::LoaderImage::make(size).size(), size);
    EXPECT_TRUE(contains(sim::LoaderImage::make(100), "SE:3 -- bad S-Record"));
}

TEST(FirmwareImage, CarriesItsVersionMarker) {
    for (size_t size : {0u, 30u, 1000u, 306'220u}) {
        SCOPED_TRACE(size);
        const Bytes image = sim::FirmwareImage::make(size, "2.4.13.03.10");
        EXPECT_GE(image.size(), size);
        EXPECT_EQ(sim::Flash::findVersionMarker(image), "2.4.13.03.10");
    }
}
