#include "transport/hidraw/report_descriptor.h"

#include <algorithm>
#include <limits>

namespace qx::transport::hid {
namespace {

// Item types of a short item's prefix byte (bits 2..3).
constexpr uint8_t kTypeMain = 0;
constexpr uint8_t kTypeGlobal = 1;
constexpr uint8_t kTypeLocal = 2;

// Main item tags.
constexpr uint8_t kMainInput = 0x8;
constexpr uint8_t kMainOutput = 0x9;
constexpr uint8_t kMainCollection = 0xA;
constexpr uint8_t kMainFeature = 0xB;
constexpr uint8_t kMainEndCollection = 0xC;

// Global item tags.
constexpr uint8_t kGlobalUsagePage = 0x0;
constexpr uint8_t kGlobalReportSize = 0x7;
constexpr uint8_t kGlobalReportId = 0x8;
constexpr uint8_t kGlobalReportCount = 0x9;
constexpr uint8_t kGlobalPush = 0xA;
constexpr uint8_t kGlobalPop = 0xB;

// Local item tags.
constexpr uint8_t kLocalUsage = 0x0;
constexpr uint8_t kLocalUsageMinimum = 0x1;

constexpr uint8_t kLongItemPrefix = 0xFE;
constexpr size_t kLongItemHeader = 3;  // prefix, data size, tag
constexpr uint32_t kCollectionApplication = 0x01;
constexpr uint32_t kMaxReportId = 0xFF;
constexpr size_t kMaxGlobalStack = 32;
// A 4-byte usage carries its own usage page in the high half.
constexpr size_t kExtendedUsageSize = 4;

struct Globals {
    uint32_t usagePage = 0;
    uint32_t reportSize = 0;
    uint32_t reportCount = 0;
    uint32_t reportId = 0;
};

struct Usage {
    bool present = false;
    bool extended = false;
    uint32_t value = 0;
};

struct Locals {
    Usage usage;
    Usage usageMinimum;
};

class Parser {
  public:
    explicit Parser(std::span<const uint8_t> bytes) : bytes_(bytes) {}

    ReportDescriptor Run() {
        while (pos_ < bytes_.size() && result_.error == DescriptorError::None) {
            Step();
        }
        if (result_.error == DescriptorError::None && depth_ != 0) {
            result_.error = DescriptorError::UnbalancedCollection;
        }
        result_.parsedBytes = pos_;
        return std::move(result_);
    }

  private:
    void Step() {
        const uint8_t prefix = bytes_[pos_];
        if (prefix == kLongItemPrefix) {
            SkipLongItem();
            return;
        }
        const size_t sizeCode = prefix & 0x3;
        const size_t size = sizeCode == 3 ? 4 : sizeCode;
        if (bytes_.size() - pos_ - 1 < size) {
            result_.error = DescriptorError::Truncated;
            return;
        }
        uint32_t data = 0;
        for (size_t i = 0; i < size; ++i) {
            data |= static_cast<uint32_t>(bytes_[pos_ + 1 + i]) << (8 * i);
        }
        pos_ += 1 + size;
        const uint8_t type = (prefix >> 2) & 0x3;
        const uint8_t tag = prefix >> 4;
        if (type == kTypeMain) {
            Main(tag, data);
        } else if (type == kTypeGlobal) {
            Global(tag, data);
        } else if (type == kTypeLocal) {
            Local(tag, data, size);
        }
    }

    void SkipLongItem() {
        if (bytes_.size() - pos_ < kLongItemHeader ||
            bytes_.size() - pos_ - kLongItemHeader < bytes_[pos_ + 1]) {
            result_.error = DescriptorError::Truncated;
            return;
        }
        pos_ += kLongItemHeader + bytes_[pos_ + 1];
    }

    void Main(uint8_t tag, uint32_t data) {
        switch (tag) {
            case kMainInput:
                AddReportBits(&ReportLayout::inputBits);
                break;
            case kMainOutput:
                AddReportBits(&ReportLayout::outputBits);
                break;
            case kMainFeature:
                AddReportBits(&ReportLayout::featureBits);
                break;
            case kMainCollection:
                OpenCollection(data);
                break;
            case kMainEndCollection:
                CloseCollection();
                break;
            default:
                break;
        }
        locals_ = Locals{};
    }

    void Global(uint8_t tag, uint32_t data) {
        switch (tag) {
            case kGlobalUsagePage:
                globals_.usagePage = data;
                break;
            case kGlobalReportSize:
                globals_.reportSize = data;
                break;
            case kGlobalReportCount:
                globals_.reportCount = data;
                break;
            case kGlobalReportId:
                if (data == 0 || data > kMaxReportId) {
                    result_.error = DescriptorError::InvalidReportId;
                    return;
                }
                globals_.reportId = data;
                result_.numbered = true;
                break;
            case kGlobalPush:
                if (stack_.size() == kMaxGlobalStack) {
                    result_.error = DescriptorError::GlobalStackOverflow;
                    return;
                }
                stack_.push_back(globals_);
                break;
            case kGlobalPop:
                if (stack_.empty()) {
                    result_.error = DescriptorError::GlobalStackUnderflow;
                    return;
                }
                globals_ = stack_.back();
                stack_.pop_back();
                break;
            default:
                break;
        }
    }

    void Local(uint8_t tag, uint32_t data, size_t size) {
        Usage* target = nullptr;
        if (tag == kLocalUsage) {
            target = &locals_.usage;
        } else if (tag == kLocalUsageMinimum) {
            target = &locals_.usageMinimum;
        }
        // Only the first usage names a collection; later ones belong to its fields.
        if (target != nullptr && !target->present) {
            *target = Usage{true, size == kExtendedUsageSize, data};
        }
    }

    // The usage of the coming main item: a short usage takes the usage page in force now.
    CollectionKey CurrentUsage() const {
        const Usage& usage = locals_.usage.present ? locals_.usage : locals_.usageMinimum;
        const uint32_t page = usage.extended ? usage.value >> 16 : globals_.usagePage;
        return {static_cast<uint16_t>(page & 0xFFFF), static_cast<uint16_t>(usage.value & 0xFFFF)};
    }

    void OpenCollection(uint32_t data) {
        if (depth_ == 0) {
            topLevel_ = -1;
            if ((data & 0xFF) == kCollectionApplication) {
                result_.collections.push_back(TopLevelCollection{CurrentUsage(), {}});
                topLevel_ = static_cast<int>(result_.collections.size()) - 1;
            }
        }
        ++depth_;
    }

    void CloseCollection() {
        if (depth_ == 0) {
            result_.error = DescriptorError::UnbalancedCollection;
            return;
        }
        if (--depth_ == 0) {
            topLevel_ = -1;
        }
    }

    void AddReportBits(uint64_t ReportLayout::*field) {
        const auto id = static_cast<uint8_t>(globals_.reportId);
        ReportLayout& layout = LayoutOf(id);
        const uint64_t bits = static_cast<uint64_t>(globals_.reportSize) * globals_.reportCount;
        const uint64_t room = std::numeric_limits<uint64_t>::max() - layout.*field;
        layout.*field += std::min(bits, room);
        if (layout.collection < 0 && topLevel_ >= 0) {
            layout.collection = topLevel_;
        }
        if (topLevel_ >= 0) {
            auto& ids = result_.collections[static_cast<size_t>(topLevel_)].reportIds;
            const auto at = std::lower_bound(ids.begin(), ids.end(), id);
            if (at == ids.end() || *at != id) {
                ids.insert(at, id);
            }
        }
    }

    ReportLayout& LayoutOf(uint8_t id) {
        auto& reports = result_.reports;
        const auto at =
            std::lower_bound(reports.begin(), reports.end(), id,
                             [](const ReportLayout& r, uint8_t v) { return r.reportId < v; });
        if (at != reports.end() && at->reportId == id) {
            return *at;
        }
        ReportLayout layout;
        layout.reportId = id;
        return *reports.insert(at, layout);
    }

    std::span<const uint8_t> bytes_;
    size_t pos_ = 0;
    Globals globals_;
    std::vector<Globals> stack_;
    Locals locals_;
    int depth_ = 0;
    int topLevel_ = -1;  // index of the open top-level application collection
    ReportDescriptor result_;
};

}  // namespace

const ReportLayout* ReportDescriptor::FindReport(uint8_t reportId) const {
    for (const ReportLayout& layout : reports) {
        if (layout.reportId == reportId) {
            return &layout;
        }
    }
    return nullptr;
}

ReportDescriptor ParseReportDescriptor(std::span<const uint8_t> bytes) {
    return Parser(bytes).Run();
}

const char* DescribeError(DescriptorError error) {
    switch (error) {
        case DescriptorError::None:
            return "none";
        case DescriptorError::Truncated:
            return "an item runs past the end";
        case DescriptorError::InvalidReportId:
            return "invalid report id";
        case DescriptorError::GlobalStackOverflow:
            return "too many nested Push items";
        case DescriptorError::GlobalStackUnderflow:
            return "Pop without Push";
        case DescriptorError::UnbalancedCollection:
            return "unbalanced collections";
    }
    return "unknown";
}

}  // namespace qx::transport::hid
