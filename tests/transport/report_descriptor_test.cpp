// The report-descriptor parser on ordinary keyboards, a mouse and the QX480's own interfaces,
// on the item forms that are easy to get wrong, and on broken input.
#include "transport/hidraw/report_descriptor.h"

#include <gtest/gtest.h>

#include <vector>

#include "tests/transport/fake_backend.h"
#include "tests/transport/fixtures/hid_descriptors.h"
#include "transport/hidraw/report_routing.h"

namespace qx::test {
namespace {

using qx::transport::CollectionKey;
using qx::transport::hid::BytesOf;
using qx::transport::hid::DescriptorError;
using qx::transport::hid::ParseReportDescriptor;
using qx::transport::hid::ReportDescriptor;
using qx::transport::hidraw::ReportRouting;

ReportDescriptor Parse(std::span<const uint8_t> bytes) {
    return ParseReportDescriptor(bytes);
}

std::vector<CollectionKey> Keys(const ReportDescriptor& d) {
    std::vector<CollectionKey> keys;
    for (const auto& c : d.collections) {
        keys.push_back(c.key);
    }
    return keys;
}

TEST(ReportDescriptor, OrdinaryKeyboardsAndMouse) {
    const auto keyboard = Parse(kBootKeyboardDescriptor);
    EXPECT_EQ(keyboard.error, DescriptorError::None);
    EXPECT_FALSE(keyboard.numbered);
    EXPECT_EQ(Keys(keyboard), (std::vector<CollectionKey>{{0x01, 0x06}}));
    ASSERT_EQ(keyboard.reports.size(), 1u);
    EXPECT_EQ(keyboard.reports[0].reportId, 0);
    EXPECT_EQ(keyboard.reports[0].collection, 0);
    EXPECT_EQ(BytesOf(keyboard.reports[0].inputBits), 8u);
    EXPECT_EQ(BytesOf(keyboard.reports[0].outputBits), 1u);
    EXPECT_EQ(keyboard.parsedBytes, kBootKeyboardDescriptor.size());

    // The pointer's physical collection is nested: one top-level collection.
    const auto mouse = Parse(kBootMouseDescriptor);
    EXPECT_EQ(mouse.error, DescriptorError::None);
    EXPECT_EQ(Keys(mouse), (std::vector<CollectionKey>{{0x01, 0x02}}));
    EXPECT_EQ(BytesOf(mouse.reports[0].inputBits), 3u);

    const auto media = Parse(kMediaKeyboardDescriptor);
    EXPECT_EQ(media.error, DescriptorError::None);
    EXPECT_TRUE(media.numbered);
    EXPECT_EQ(Keys(media), (std::vector<CollectionKey>{{0x01, 0x06}, {0x0C, 0x01}, {0x01, 0x80}}));
    ASSERT_EQ(media.reports.size(), 3u);
    EXPECT_EQ(media.collections[1].reportIds, (std::vector<uint8_t>{2}));
    EXPECT_EQ(BytesOf(media.FindReport(1)->inputBits), 8u);
    EXPECT_EQ(BytesOf(media.FindReport(2)->inputBits), 2u);
    EXPECT_EQ(media.FindReport(3)->collection, 2);
    EXPECT_EQ(BytesOf(media.FindReport(3)->inputBits), 1u);
}

TEST(ReportDescriptor, Qx480ControlInterface) {
    const auto d = Parse(kQx480ControlDescriptor);
    EXPECT_EQ(d.error, DescriptorError::None);
    EXPECT_TRUE(d.numbered);
    EXPECT_EQ(Keys(d), (std::vector<CollectionKey>{kConsumerKey, kLedKey, kCommandKey}));
    EXPECT_EQ(d.collections[0].reportIds, (std::vector<uint8_t>{kQx480ConsumerReportId}));
    EXPECT_EQ(d.collections[1].reportIds, (std::vector<uint8_t>{kQx480LedReportId}));
    EXPECT_EQ(d.collections[2].reportIds, (std::vector<uint8_t>{kQx480CommandReportId}));
    // Sizes with the id byte, as they cross the link.
    const auto* command = d.FindReport(kQx480CommandReportId);
    ASSERT_NE(command, nullptr);
    EXPECT_EQ(BytesOf(command->inputBits) + 1, kQx480CommandReportSize);
    EXPECT_EQ(BytesOf(command->outputBits) + 1, kQx480CommandReportSize);
    const auto* led = d.FindReport(kQx480LedReportId);
    EXPECT_EQ(BytesOf(led->outputBits) + 1, kQx480LedReportSize);
    EXPECT_EQ(led->inputBits, 0u);
    EXPECT_EQ(BytesOf(d.FindReport(kQx480ConsumerReportId)->inputBits) + 1,
              kQx480ConsumerReportSize);
}

TEST(ReportDescriptor, UsagePagesFromExtendedUsagesThePageInForceAndPushPop) {
    // A 4-byte usage carries its page; a short usage takes the page in force at the
    // Collection item, even when the Usage Page item comes after the usage.
    // clang-format off
    const std::vector<uint8_t> bytes = {
        0x05, 0x01,                    // Usage Page (Generic Desktop)
        0x0B, 0x01, 0x00, 0x0C, 0x00,  // Usage (Consumer:Consumer Control)
        0xA1, 0x01, 0xC0,              // Collection (Application), End
        0x09, 0x89, 0x05, 0x08,        // Usage (0x89), Usage Page (LEDs)
        0xA1, 0x01, 0xC0,              // Collection (Application), End
        0x06, 0x1C, 0xFF,              // Usage Page (0xFF1C)
        0xA4,                          // Push
        0x05, 0x0C, 0x85, 0x07,        //   Usage Page (Consumer), Report ID (7)
        0xB4,                          // Pop: back to 0xFF1C and no report id
        0x09, 0x92, 0xA1, 0x01,        // Usage (0x92), Collection (Application)
        0x75, 0x08, 0x95, 0x02, 0x81, 0x02,  // Input: 2 bytes
        0xC0,
    };
    // clang-format on
    const auto d = Parse(bytes);
    EXPECT_EQ(d.error, DescriptorError::None);
    EXPECT_EQ(Keys(d), (std::vector<CollectionKey>{kConsumerKey, kLedKey, kCommandKey}));
    ASSERT_EQ(d.reports.size(), 1u);
    EXPECT_EQ(d.reports[0].reportId, 0) << "Pop restores the report id";
    EXPECT_EQ(d.reports[0].collection, 2);
    EXPECT_TRUE(d.numbered) << "an id was declared, even if popped";
}

TEST(ReportDescriptor, OnlyTopLevelApplicationCollectionsCount) {
    // clang-format off
    const std::vector<uint8_t> bytes = {
        0x05, 0x01, 0x09, 0x02, 0xA1, 0x00,  // Collection (Physical) at the top level
        0x85, 0x01, 0x75, 0x08, 0x95, 0x01, 0x81, 0x02, 0xC0,
        0x09, 0x06, 0xA1, 0x01,              // Collection (Application)
        0x09, 0x02, 0xA1, 0x01,              //   a nested application collection
        0x85, 0x02, 0x81, 0x02, 0xC0,        //   its report belongs to the outer one
        0xC0,
    };
    // clang-format on
    const auto d = Parse(bytes);
    EXPECT_EQ(d.error, DescriptorError::None);
    EXPECT_EQ(Keys(d), (std::vector<CollectionKey>{{0x01, 0x06}}));
    EXPECT_EQ(d.FindReport(1)->collection, -1);
    EXPECT_EQ(d.FindReport(2)->collection, 0);
    EXPECT_EQ(d.collections[0].reportIds, (std::vector<uint8_t>{2}));
}

TEST(ReportDescriptor, LongItemsAreSkipped) {
    std::vector<uint8_t> bytes(kQx480ControlDescriptor.begin(), kQx480ControlDescriptor.end());
    const std::vector<uint8_t> longItem = {0xFE, 0x03, 0x10, 0xC0, 0xC0, 0xC0};
    bytes.insert(bytes.begin() + 25, longItem.begin(), longItem.end());  // after the first End
    const auto d = Parse(bytes);
    EXPECT_EQ(d.error, DescriptorError::None);
    EXPECT_EQ(Keys(d), Keys(Parse(kQx480ControlDescriptor)));

    const std::vector<uint8_t> cut = {0x05, 0x01, 0xFE, 0x05, 0x10, 0x01};
    EXPECT_EQ(Parse(cut).error, DescriptorError::Truncated);
    EXPECT_EQ(Parse(std::vector<uint8_t>{0xFE}).error, DescriptorError::Truncated);
}

TEST(ReportDescriptor, BrokenDescriptorsStopWithTheirFaultAndKeepWhatCameBefore) {
    struct Case {
        std::vector<uint8_t> bytes;
        DescriptorError error;
        size_t collections;
    };
    const std::vector<Case> cases = {
        {{0x05, 0x01, 0x09, 0x06, 0xA1, 0x01, 0xC0, 0xC0},
         DescriptorError::UnbalancedCollection,
         1},
        {{0x05, 0x01, 0x09, 0x06, 0xA1, 0x01}, DescriptorError::UnbalancedCollection, 1},
        {{0x85, 0x00}, DescriptorError::InvalidReportId, 0},
        {{0x86, 0x00, 0x01}, DescriptorError::InvalidReportId, 0},
        {{0xB4}, DescriptorError::GlobalStackUnderflow, 0},
        {{0x05, 0x01, 0x27, 0xFF, 0xFF}, DescriptorError::Truncated, 0},
    };
    for (const auto& c : cases) {
        const auto d = Parse(c.bytes);
        EXPECT_EQ(d.error, c.error) << qx::transport::hid::DescribeError(c.error);
        EXPECT_EQ(d.collections.size(), c.collections);
        EXPECT_LE(d.parsedBytes, c.bytes.size());
    }
    const std::vector<uint8_t> pushes(40, 0xA4);
    EXPECT_EQ(Parse(pushes).error, DescriptorError::GlobalStackOverflow);
}

TEST(ReportDescriptor, EveryPrefixOfARealDescriptorParsesSafely) {
    const auto full = Parse(kMediaKeyboardDescriptor);
    for (size_t n = 0; n < kMediaKeyboardDescriptor.size(); ++n) {
        const auto d = Parse(std::span(kMediaKeyboardDescriptor.data(), n));
        EXPECT_LE(d.parsedBytes, n);
        ASSERT_LE(d.collections.size(), full.collections.size());
        for (size_t i = 0; i < d.collections.size(); ++i) {
            EXPECT_EQ(d.collections[i].key, full.collections[i].key);
        }
    }
}

TEST(ReportRouting, InputReportsFindTheirCollection) {
    const ReportRouting control(Parse(kQx480ControlDescriptor));
    EXPECT_TRUE(control.Numbered());
    EXPECT_EQ(control.CollectionOfInput(std::vector<uint8_t>{4, 0}), kCommandKey);
    EXPECT_EQ(control.CollectionOfInput(std::vector<uint8_t>{3, 0xFF, 2}), kConsumerKey);
    // Id 5 is an output report only; a report with it still belongs to the LED collection.
    EXPECT_EQ(control.CollectionOfInput(std::vector<uint8_t>{5, 1}), kLedKey);
    EXPECT_FALSE(control.CollectionOfInput(std::vector<uint8_t>{9, 1}).has_value());
    EXPECT_FALSE(control.CollectionOfInput({}).has_value());
    EXPECT_TRUE(control.AcceptsReportId(4));
    EXPECT_FALSE(control.AcceptsReportId(0));

    const ReportRouting keyboard(Parse(kBootKeyboardDescriptor));
    EXPECT_FALSE(keyboard.Numbered());
    EXPECT_EQ(keyboard.CollectionOfInput(std::vector<uint8_t>{9, 0, 4}),
              (CollectionKey{0x01, 0x06}));
    EXPECT_TRUE(keyboard.AcceptsReportId(0));
    EXPECT_FALSE(keyboard.AcceptsReportId(1));

    // One collection: an id it does not declare is still its report.
    const std::vector<uint8_t> single = {0x06, 0x1C, 0xFF, 0x09, 0x92, 0xA1, 0x01, 0x85,
                                         0x04, 0x75, 0x08, 0x95, 0x3F, 0x81, 0x02, 0xC0};
    const ReportRouting vendor(Parse(single));
    EXPECT_EQ(vendor.CollectionOfInput(std::vector<uint8_t>{6, 1}), kCommandKey);

    EXPECT_FALSE(ReportRouting(Parse({})).CollectionOfInput(std::vector<uint8_t>{0}));
}

}  // namespace
}  // namespace qx::test
