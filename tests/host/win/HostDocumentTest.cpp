// The reference host's document, selection, channel data source, channel information and help
// service, called through their slots as an extension calls them.
#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <cstring>
#include <memory>
#include <vector>

#include "HostApplication.h"
#include "HostChannelInformation.h"
#include "HostDocument.h"
#include "HostUnit.h"
#include "HostUnitListService.h"
#include "Recording.h"
#include "foundation/win/ComPtr.h"

namespace {

using Tarn::ComPtr;
using ::testing::ElementsAre;
using ::testing::ElementsAreArray;
using ::testing::FloatEq;
using Vela::Recording;

// Calls slot `slot` of `object`'s table directly, so that the slot numbers an extension relies on
// are checked, not only the declarations' order.
template <class I, class... A> HRESULT CallSlot(I* object, int slot, A... args) {
  using Fn = HRESULT(STDMETHODCALLTYPE*)(I*, A...);
  void** table = *reinterpret_cast<void***>(object);
  return reinterpret_cast<Fn>(table[slot])(object, args...);
}

// Two channels over two blocks: channel 0 a ramp 0, 1, 2, ... within each block (block 1 starts
// at 1000), channel 1 in mV with the host's units conversion off.
std::shared_ptr<Recording> TwoBlocks() {
  auto r = std::make_shared<Recording>();
  Recording::Channel pressure;
  pressure.name = L"Pressure";
  pressure.unit = L"V";
  pressure.colour = 0x00123456;
  pressure.top = 5.0;
  pressure.bottom = -1.0;
  r->AddChannel(pressure);
  Recording::Channel flow;
  flow.name = L"Flow";
  flow.unit = L"mV";
  flow.conversion = {false, 2.0, 1.0, L"l/min"};
  r->AddChannel(flow);
  const std::size_t lengths[] = {100, 40};
  for (std::size_t b = 0; b < 2; ++b) {
    Recording::Block block;
    block.start = b * 10.0;
    block.interval = 0.01 * (b + 1);
    block.length = lengths[b];
    block.samples.resize(2);
    for (std::size_t i = 0; i < lengths[b]; ++i) {
      block.samples[0].push_back(static_cast<float>(b * 1000 + i));
      block.samples[1].push_back(static_cast<float>(i) * 0.5f);
    }
    r->AddBlock(std::move(block));
  }
  return r;
}

class HostDocumentTest : public ::testing::Test {
protected:
  void SetUp() override {
    recording_ = TwoBlocks();
    document_ = ComPtr<Vela::HostDocument>::Adopt(Vela::HostDocument::Create(recording_));
    doc_ = static_cast<Host::IHostDocument*>(document_.get());
    ASSERT_EQ(CallSlot(doc_, 54, std::uint32_t{0}, source_.put()), S_OK);
    ASSERT_TRUE(source_);
  }

  std::vector<float> Read(std::uint32_t kind, std::int32_t channel, std::int32_t block,
                          std::int32_t start, std::int32_t end) {
    ComPtr<Host::IEnumFloatEx> reader;
    EXPECT_EQ(CallSlot(source_.get(), 11, kind, channel, block, start, end, reader.put()), S_OK);
    std::vector<float> all;
    if (!reader)
      return all;
    float chunk[16];
    std::uint32_t fetched = 0;
    do {
      (void)reader->Next(16, chunk, &fetched); // S_FALSE at the end: the count tells
      all.insert(all.end(), chunk, chunk + fetched);
    } while (fetched == 16);
    return all;
  }

  std::shared_ptr<Recording> recording_;
  ComPtr<Vela::HostDocument> document_;
  Host::IHostDocument* doc_ = nullptr;
  ComPtr<Host::IChannelDataSource> source_;
};

TEST_F(HostDocumentTest, ChannelColourRangeAndInformationThroughTheDocumentSlots) {
  COLORREF colour = RGB(255, 128, 128);
  EXPECT_EQ(CallSlot(doc_, 3, std::int32_t{0}, &colour), S_OK);
  EXPECT_EQ(colour, 0x00123456u);
  colour = RGB(255, 128, 128);
  EXPECT_EQ(CallSlot(doc_, 3, std::int32_t{7}, &colour), S_FALSE);
  EXPECT_EQ(colour, RGB(255, 128, 128)) << "left as preset for a channel the host lacks";

  double top = 1e300, bottom = -1e300;
  EXPECT_EQ(CallSlot(doc_, 4, std::int32_t{0}, std::int32_t{0}, std::int32_t{2}, &top, &bottom),
            S_OK);
  EXPECT_EQ(top, 5.0);
  EXPECT_EQ(bottom, -1.0);

  ComPtr<Host::IChannelInformation> info;
  ASSERT_EQ(CallSlot(doc_, 5, std::int32_t{0}, std::int32_t{1}, info.put()), S_OK);
  ComPtr<Host::IUnitName> unit;
  ASSERT_EQ(CallSlot(info.get(), 4, Host::kDataKindRaw, unit.put()), S_OK);
  Vela::UnitValue value;
  ASSERT_TRUE(Vela::ReadUnit(unit.get(), value));
  EXPECT_EQ(value, (Vela::UnitValue{7, L"V", 0})) << "mV is milli-volt";
  EXPECT_EQ(CallSlot(doc_, 5, std::int32_t{0}, std::int32_t{2}, info.put()), E_INVALIDARG);

  // The document answers its message face as the same object.
  ComPtr<Host::IDocumentTarget> target;
  ASSERT_EQ(doc_->QueryInterface(Host::IID_IDocumentTarget, target.put_void()), S_OK);
  ComPtr<IUnknown> a, b;
  ASSERT_EQ(target->QueryInterface(IID_IUnknown, a.put_void()), S_OK);
  ASSERT_EQ(doc_->QueryInterface(IID_IUnknown, b.put_void()), S_OK);
  EXPECT_EQ(a.get(), b.get());
}

TEST_F(HostDocumentTest, SelectionOverTwoBlocksIsTrimmedAndWrittenBack) {
  ComPtr<Host::IHostSelection> selection;
  ASSERT_EQ(CallSlot(doc_, 8, selection.put()), S_OK);
  BOOL exists = TRUE;
  EXPECT_EQ(CallSlot(selection.get(), 3, &exists), S_OK);
  EXPECT_FALSE(exists);
  std::int32_t p0 = 0x7FFFFFFF, b0 = 0x7FFFFFFF, p1 = 0x7FFFFFFF, b1 = 0x7FFFFFFF;
  EXPECT_EQ(CallSlot(selection.get(), 4, &p0, &b0, &p1, &b1), S_FALSE);
  EXPECT_EQ(p0, 0x7FFFFFFF);

  recording_->selection = {true, 60, 0, 10, 1};
  EXPECT_EQ(CallSlot(selection.get(), 3, &exists), S_OK);
  EXPECT_TRUE(exists);
  ASSERT_EQ(CallSlot(selection.get(), 4, &p0, &b0, &p1, &b1), S_OK);
  EXPECT_EQ(std::vector<std::int32_t>({p0, b0, p1, b1}), std::vector<std::int32_t>({60, 0, 10, 1}));

  // What the settings entry does: cut to the end of the first block and write it back.
  std::int32_t length = 0;
  ASSERT_EQ(CallSlot(source_.get(), 9, b0, &length), S_OK);
  EXPECT_EQ(length, 100);
  ASSERT_EQ(CallSlot(selection.get(), 5, p0, b0, length - 1, b0), S_OK);
  EXPECT_EQ(recording_->selection, (Recording::Selection{true, 60, 0, 99, 0}));
  EXPECT_EQ(document_->SelectionObject().Writes(), 1);

  // The block's length as the end stands for its last sample.
  ASSERT_EQ(CallSlot(selection.get(), 5, std::int32_t{60}, std::int32_t{0}, length, b0), S_OK);
  EXPECT_EQ(recording_->selection, (Recording::Selection{true, 60, 0, 99, 0}));
  EXPECT_EQ(document_->SelectionObject().Writes(), 1) << "an unchanged extent is no write";

  // Extents outside the recording or reversed are refused and change nothing.
  const std::int32_t refused[][4] = {{60, 0, 101, 0}, {60, 0, 10, 2}, {-1, 0, 5, 0},
                                     {50, 0, 40, 0},  {5, 1, 5, 0},   {100, 0, 100, 0}};
  for (const auto& e : refused)
    EXPECT_EQ(CallSlot(selection.get(), 5, e[0], e[1], e[2], e[3]), E_INVALIDARG) << e[0];
  EXPECT_EQ(recording_->selection, (Recording::Selection{true, 60, 0, 99, 0}));
  EXPECT_EQ(CallSlot(source_.get(), 9, std::int32_t{2}, &length), E_INVALIDARG);
}

TEST_F(HostDocumentTest, ReaderGivesExactlyTheSamplesOfOneBlockAndClampsAtItsEnd) {
  struct Case {
    std::int32_t block, start, end;
    float first;
    std::size_t count;
  };
  const Case cases[] = {
      {0, 10, 20, 10.0f, 11},                 // inclusive at both ends
      {0, 0, 0, 0.0f, 1},                     // one sample
      {0, 90, Host::kToBlockEnd, 90.0f, 10},  // to the block's end
      {0, 95, 5000, 95.0f, 5},                // past the end: clamped
      {1, 0, Host::kToBlockEnd, 1000.0f, 40}, // the second block only
      {1, 39, Host::kToBlockEnd, 1039.0f, 1}, // its last sample
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(testing::Message() << c.block << ' ' << c.start << ' ' << c.end);
    std::vector<float> expected(c.count);
    for (std::size_t i = 0; i < c.count; ++i)
      expected[i] = c.first + static_cast<float>(i);
    EXPECT_THAT(Read(Host::kDataKindRaw, 0, c.block, c.start, c.end), ElementsAreArray(expected));
  }
  struct Bad {
    std::uint32_t kind;
    std::int32_t channel, block, start, end;
  };
  const Bad refused[] = {{Host::kDataKindRaw, 0, 0, 100, Host::kToBlockEnd},
                         {Host::kDataKindRaw, 0, 0, 20, 10},
                         {Host::kDataKindRaw, 0, 0, -1, 5},
                         {Host::kDataKindRaw, 2, 0, 0, 5},
                         {Host::kDataKindRaw, 0, 2, 0, 5},
                         {0, 0, 0, 0, 5}};
  for (const Bad& b : refused) {
    ComPtr<Host::IEnumFloatEx> reader;
    EXPECT_EQ(CallSlot(source_.get(), 11, b.kind, b.channel, b.block, b.start, b.end, reader.put()),
              E_INVALIDARG)
        << b.channel << ' ' << b.block << ' ' << b.start << ' ' << b.end;
    EXPECT_FALSE(reader);
  }
}

TEST_F(HostDocumentTest, ReaderSkipsClonesAndKeepsItsSamplesWhenTheRecordingChanges) {
  ComPtr<Host::IEnumFloatEx> reader;
  ASSERT_EQ(CallSlot(source_.get(), 11, Host::kDataKindRaw, std::int32_t{0}, std::int32_t{0},
                     std::int32_t{10}, std::int32_t{19}, reader.put()),
            S_OK);
  std::int32_t skipped = 0, position = -1;
  EXPECT_EQ(reader->SkipEx(4, &skipped), S_OK);
  EXPECT_EQ(reader->GetPosition(&position), S_OK);
  EXPECT_EQ(position, 4);
  ComPtr<Host::IEnumFloatEx> copy;
  ASSERT_EQ(reader->Clone(copy.put()), S_OK);
  recording_->SetSamples(0, 0, std::vector<float>(100, -1.0f));
  float values[8] = {};
  std::uint32_t fetched = 0;
  EXPECT_EQ(copy->Next(8, values, &fetched), S_FALSE);
  EXPECT_EQ(fetched, 6u);
  EXPECT_EQ(values[0], 14.0f);
  EXPECT_EQ(values[5], 19.0f);
  EXPECT_EQ(reader->SkipEx(-10, &skipped), S_FALSE);
  EXPECT_EQ(skipped, -4);
}

TEST_F(HostDocumentTest, UnitsConversionIsReportedAndApplied) {
  for (const bool active : {false, true}) {
    SCOPED_TRACE(active);
    recording_->ChannelAt(1).conversion.active = active;
    ComPtr<Host::IChannelSettings> settings;
    ASSERT_EQ(CallSlot(source_.get(), 17, Host::kChannelSettingsKind, std::int32_t{0},
                       std::int32_t{1}, settings.put()),
              S_OK);
    BOOL on = !active;
    EXPECT_EQ(CallSlot(settings.get(), 3, &on), S_OK);
    EXPECT_EQ(on != FALSE, active);
    double factor = 0, offset = 0;
    EXPECT_EQ(CallSlot(settings.get(), 4, &factor, &offset), S_OK);
    EXPECT_EQ(factor, active ? 2.0 : 1.0);
    EXPECT_EQ(offset, active ? 1.0 : 0.0);

    ComPtr<Host::IChannelInformation> info;
    ASSERT_EQ(CallSlot(source_.get(), 12, Host::kDataKindRaw, std::int32_t{1}, std::int32_t{1},
                       info.put()),
              S_OK);
    double converted = 0;
    EXPECT_EQ(CallSlot(info.get(), 3, Host::kDataKindRaw, 3.0, &converted), S_OK);
    EXPECT_EQ(converted, active ? 7.0 : 3.0);
    EXPECT_EQ(CallSlot(info.get(), 3, Host::kDataKindCalculated, 3.0, &converted), E_INVALIDARG);
    ComPtr<Host::IUnitName> unit;
    ASSERT_EQ(CallSlot(info.get(), 4, Host::kDataKindRaw, unit.put()), S_OK);
    Vela::UnitValue value;
    ASSERT_TRUE(Vela::ReadUnit(unit.get(), value));
    EXPECT_EQ(value.name, active ? L"l/min" : L"V");

    // What a calculation receives goes through the conversion, or without it leaves the mV
    // prefix behind; the raw samples never change.
    EXPECT_THAT(Read(Host::kDataKindCalculated, 1, 0, 2, 3),
                active ? ElementsAre(FloatEq(3.0f), FloatEq(4.0f))
                       : ElementsAre(FloatEq(0.001f), FloatEq(0.0015f)));
    EXPECT_THAT(Read(Host::kDataKindRaw, 1, 0, 2, 3), ElementsAreArray({1.0f, 1.5f}));
  }
  // Without a selection the settings entry asks with block -2.
  ComPtr<Host::IChannelSettings> settings;
  EXPECT_EQ(CallSlot(source_.get(), 17, Host::kChannelSettingsKind, std::int32_t{-2},
                     std::int32_t{1}, settings.put()),
            S_OK);
  EXPECT_EQ(CallSlot(source_.get(), 17, Host::kChannelSettingsKind, std::int32_t{0},
                     std::int32_t{5}, settings.put()),
            E_INVALIDARG);
}

TEST_F(HostDocumentTest, HasDataAndTimingOfEachBlock) {
  Recording::Channel calc;
  calc.name = L"Calibrated";
  calc.calculated = true;
  const auto c = static_cast<std::int32_t>(recording_->AddChannel(calc));
  BOOL has = TRUE;
  EXPECT_EQ(CallSlot(source_.get(), 10, std::uint32_t{0}, std::int32_t{1}, c, &has), S_OK);
  EXPECT_FALSE(has);
  ComPtr<Host::IEnumFloatEx> reader;
  EXPECT_EQ(CallSlot(source_.get(), 11, Host::kDataKindRaw, c, std::int32_t{1}, std::int32_t{0},
                     Host::kToBlockEnd, reader.put()),
            E_FAIL);
  recording_->SetSamples(1, static_cast<std::size_t>(c), std::vector<float>(40, 2.5f));
  EXPECT_EQ(CallSlot(source_.get(), 10, std::uint32_t{0}, std::int32_t{1}, c, &has), S_OK);
  EXPECT_TRUE(has);
  EXPECT_EQ(CallSlot(source_.get(), 10, std::uint32_t{0}, std::int32_t{0}, c, &has), S_OK);
  EXPECT_FALSE(has);

  ComPtr<IUnknown> timing;
  ASSERT_EQ(CallSlot(source_.get(), 13, Host::kDataKindCalculated, std::int32_t{1}, timing.put()),
            S_OK);
  ComPtr<Host::IBlockTiming> block;
  ASSERT_EQ(timing.QueryTo(block), S_OK);
  double start = 0, interval = 0;
  EXPECT_EQ(CallSlot(block.get(), 3, &start, &interval), S_OK);
  EXPECT_EQ(start, 10.0);
  EXPECT_EQ(interval, 0.02);
}

TEST_F(HostDocumentTest, MessageDeliveredThroughTheDispatcherIsRecordedWithItsPayload) {
  ComPtr<Host::IRegistrarBase> registrar;
  ASSERT_EQ(CoGetClassObject(Host::CLSID_HostApplication, Host::kServiceContext, nullptr,
                             Host::IID_IRegistrarBase, registrar.put_void()),
            S_OK);
  ComPtr<Host::IMessageFactory> factory;
  ASSERT_EQ(registrar->GetClassObject(Host::kMessageFactoryClassCode, Host::IID_IMessageFactory,
                                      factory.put_void()),
            S_OK);
  ComPtr<Host::IMessageDispatcher> dispatcher;
  ASSERT_EQ(registrar.QueryTo(Host::IID_IMessageDispatcher, dispatcher), S_OK);
  const Host::DisplayRangePayload payload{817, 1, 32000.0, -32000.0};
  ComPtr<IUnknown> message;
  ASSERT_EQ(
      factory->MakeMessage(Host::kDisplayRangeMessage, 0, &payload, sizeof payload, message.put()),
      S_OK);
  ComPtr<Host::IDocumentTarget> target;
  ASSERT_EQ(doc_->QueryInterface(Host::IID_IDocumentTarget, target.put_void()), S_OK);
  ASSERT_EQ(CallSlot(dispatcher.get(), 3, static_cast<IUnknown*>(target.get()), message.get()),
            S_OK);

  ASSERT_EQ(document_->Received().size(), 1u);
  const Vela::Delivery& d = document_->Received()[0];
  EXPECT_EQ(d.id, 0x800C004Au);
  ASSERT_EQ(d.payload.size(), 24u);
  Host::DisplayRangePayload got{};
  std::memcpy(&got, d.payload.data(), sizeof got);
  EXPECT_EQ(got.code, 817);
  EXPECT_EQ(got.channel, 1);
  EXPECT_EQ(got.top, 32000.0);
  EXPECT_EQ(got.bottom, -32000.0);
}

TEST(HostHelpServiceTest, ShowHelpThroughTheApplicationServiceIsRecorded) {
  Vela::HostApplication::Instance().ApplicationService().ClearHelpCalls();
  ComPtr<Host::IHelpService> help;
  ASSERT_EQ(CoGetClassObject(Host::CLSID_UnitListService, Host::kServiceContext, nullptr,
                             Host::IID_IHelpService, help.put_void()),
            S_OK);
  EXPECT_EQ(CallSlot(help.get(), 3, L"mp_setup", L"MultipointCalibrationHelp"), S_OK);
  EXPECT_EQ(CallSlot(help.get(), 3, static_cast<const wchar_t*>(nullptr), L"book"), E_INVALIDARG);
  const auto calls = Vela::HostApplication::Instance().ApplicationService().HelpCalls();
  ASSERT_EQ(calls.size(), 1u);
  EXPECT_EQ(calls[0], (Vela::HelpCall{L"mp_setup", L"MultipointCalibrationHelp"}));
  // The same class object still hands out the unit list.
  ComPtr<Host::IUnitListService> units;
  EXPECT_EQ(help.QueryTo(Host::IID_IUnitListService, units), S_OK);
  Vela::HostApplication::Instance().ApplicationService().ClearHelpCalls();
}

TEST(HostChannelInformationTest, UnitTextsSplitIntoPrefixAndBaseOnlyForKnownBases) {
  struct Case {
    const wchar_t* text;
    Vela::UnitValue unit;
  };
  const Case cases[] = {
      // The prefix indexes are the extension's: 7 is milli, 9 kilo, 6 micro.
      {L"V", {1, L"V", 0}},       {L"mV", {7, L"V", 0}},      {L"kPa", {9, L"Pa", 0}},
      {L"\u00B5V", {6, L"V", 0}}, {L"mmHg", {1, L"mmHg", 0}}, {L"m", {1, L"m", 0}},
      {L"degC", {1, L"degC", 0}}, {L"", {1, L"", 0}},         {L"Mohm", {1, L"Mohm", 0}}};
  for (const Case& c : cases)
    EXPECT_EQ(Vela::HostChannelInformation::UnitOf(c.text), c.unit) << c.text;
}

} // namespace
