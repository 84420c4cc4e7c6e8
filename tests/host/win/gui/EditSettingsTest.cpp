// The calculation class's settings entry (slot 10) of the module DLL, called as the host calls it
// and answered through the real calibration dialog and message boxes.
#include <windows.h>

#include <gtest/gtest.h>

#include <memory>
#include <string>
#include <variant>
#include <vector>

#include "../ModuleEnvironment.h"
#include "../ParameterFields.h"
#include "GuiDriver.h"
#include "HostDocument.h"
#include "MemoryObjectStream.h"
#include "Recording.h"
#include "foundation/win/ComPtr.h"

namespace {

using Tarn::ComPtr;
using namespace std::chrono_literals;

constexpr int kFirstRawField = 208;
constexpr int kFirstCalibratedField = 220;
constexpr std::size_t kParameterTextItem = 7;

const std::wstring kCaption = L"Multipoint Calibration";
const std::wstring kTrimmed = L"The selection extends over more than one block. Only data in the "
                              L"first selected block will be displayed.";
const std::wstring kConversionActive =
    L"Units Conversion is active on this channel, and must be disabled before MultiPoint "
    L"Calibration may be applied.";

// A persisted settings object's items, as the host would store them.
std::vector<Vela::StreamItem> Persisted(Host::IPersistObject* settings) {
  auto stream = ComPtr<Vela::MemoryObjectStream>::Adopt(Vela::MemoryObjectStream::Create());
  EXPECT_EQ(settings->Save(stream.get()), S_OK);
  return stream->Items();
}

// Types a point into a row of the calibration dialog.
void TypePoint(HWND dialog, int row, const wchar_t* raw, const wchar_t* calibrated) {
  EXPECT_TRUE(GuiDriver::TypeText(::GetDlgItem(dialog, kFirstRawField + row), raw)) << row;
  EXPECT_TRUE(GuiDriver::TypeText(::GetDlgItem(dialog, kFirstCalibratedField + row), calibrated))
      << row;
}

class EditSettingsTest : public ::testing::Test {
protected:
  void SetUp() override {
    auto recording = std::make_shared<Vela::Recording>();
    Vela::Recording::Channel volts;
    volts.name = L"Pressure";
    volts.unit = L"V";
    recording->AddChannel(volts);
    recording->AddChannel(volts);
    for (int b = 0; b < 2; ++b) {
      Vela::Recording::Block block;
      block.length = 40;
      block.start = 100.0 * b;
      for (int c = 0; c < 2; ++c) {
        std::vector<float> samples;
        for (int i = 0; i < 40; ++i)
          samples.push_back(0.5f + 0.025f * static_cast<float>(i) + static_cast<float>(b + c));
        block.samples.push_back(std::move(samples));
      }
      recording->AddBlock(std::move(block));
    }
    document_.Attach(Vela::HostDocument::Create(recording));
    calcClass_ = VelaTest::Module().CalculationClass();
    ASSERT_TRUE(calcClass_);
  }
  void TearDown() override {
    calcClass_.reset();
    document_.reset();
    EXPECT_EQ(VelaTest::LiveModuleObjects(), 0);
  }

  Vela::Recording& Rec() { return document_->Rec(); }
  IUnknown* Document() { return static_cast<Host::IHostDocument*>(document_.get()); }
  HRESULT Edit(std::int32_t channel, Host::IPersistObject* existing, Host::IPersistObject** out) {
    return calcClass_->EditSettings(nullptr, nullptr, Document(), nullptr, channel, existing, out);
  }

  ComPtr<Vela::HostDocument> document_;
  ComPtr<Host::ICalculationClass> calcClass_;
};

TEST_F(EditSettingsTest, ASelectionOverTwoBlocksIsCutToTheFirstWithAWarningAndTheDialogOpens) {
  Rec().selection = {true, 30, 0, 9, 1};
  GuiDriver::ModalAnswerer answerer(20000ms);
  answerer.Then(GuiDriver::ModalAnswerer::Press(IDOK))
      .Then(GuiDriver::ModalAnswerer::Press(IDCANCEL));
  Host::IPersistObject* out = nullptr;
  EXPECT_EQ(Edit(0, nullptr, &out), S_FALSE);
  EXPECT_EQ(out, nullptr);
  ASSERT_EQ(answerer.Seen().size(), 2u);
  EXPECT_EQ(answerer.Seen()[0].caption, kCaption);
  EXPECT_EQ(answerer.Seen()[0].text, kTrimmed);
  EXPECT_EQ(answerer.Seen()[1].caption, L"Multipoint Calibration for Channel 1");
  EXPECT_EQ(answerer.WatchdogEnded(), 0);
  const Vela::Recording::Selection trimmed{true, 30, 0, 39, 0};
  EXPECT_EQ(Rec().selection, trimmed);
  EXPECT_TRUE(document_->DisplayRanges().empty());
}

TEST_F(EditSettingsTest, UnitsConversionOnTheChannelIsRefusedBeforeAnyDialog) {
  Rec().ChannelAt(1).conversion = {true, 2.0, 0.0, L"bar"};
  GuiDriver::ModalAnswerer answerer(20000ms);
  answerer.Then(GuiDriver::ModalAnswerer::Press(IDOK));
  Host::IPersistObject* const untouched = reinterpret_cast<Host::IPersistObject*>(8);
  Host::IPersistObject* out = untouched;
  EXPECT_EQ(Edit(1, nullptr, &out), E_FAIL);
  EXPECT_EQ(out, untouched);
  ASSERT_EQ(answerer.Seen().size(), 1u);
  EXPECT_EQ(answerer.Seen()[0].caption, kCaption);
  EXPECT_EQ(answerer.Seen()[0].text, kConversionActive);
  EXPECT_TRUE(document_->DisplayRanges().empty());
}

TEST_F(EditSettingsTest, CancelReturnsOneAndSendsNothing) {
  Rec().selection = {true, 0, 0, 39, 0};
  GuiDriver::ModalAnswerer answerer(20000ms);
  answerer.Then([](HWND dialog) {
    TypePoint(dialog, 0, L"1", L"10");
    TypePoint(dialog, 1, L"2", L"20");
    GuiDriver::Click(::GetDlgItem(dialog, IDCANCEL));
  });
  Host::IPersistObject* const untouched = reinterpret_cast<Host::IPersistObject*>(8);
  Host::IPersistObject* out = untouched;
  EXPECT_EQ(Edit(0, nullptr, &out), 1);
  EXPECT_EQ(out, untouched);
  ASSERT_EQ(answerer.Seen().size(), 1u);
  EXPECT_EQ(answerer.WatchdogEnded(), 0);
  EXPECT_TRUE(document_->Received().empty());
}

TEST_F(EditSettingsTest, OkReturnsTheSortedPointsShownCalculatedAndOneDisplayRangeMessage) {
  Rec().selection = {true, 0, 0, 39, 0};
  GuiDriver::ModalAnswerer answerer(20000ms);
  answerer.Then([](HWND dialog) {
    TypePoint(dialog, 0, L"1.5", L"30");
    TypePoint(dialog, 1, L"0.5", L"10");
    TypePoint(dialog, 2, L"1", L"20");
    GuiDriver::Click(::GetDlgItem(dialog, IDOK));
  });
  Host::IPersistObject* out = nullptr;
  ASSERT_EQ(Edit(1, nullptr, &out), S_OK);
  ASSERT_NE(out, nullptr);
  const auto held = ComPtr<Host::IPersistObject>::Adopt(out);
  EXPECT_EQ(answerer.WatchdogEnded(), 0);
  ASSERT_EQ(answerer.Seen().size(), 1u) << "no message box on a good calibration";
  EXPECT_EQ(answerer.Seen()[0].caption, L"Multipoint Calibration for Channel 2");

  const auto items = Persisted(held.get());
  ASSERT_GT(items.size(), kParameterTextItem);
  EXPECT_EQ(std::get<std::int32_t>(items[1]), 1) << "shown calculated";
  EXPECT_EQ(std::get<std::int32_t>(items[2]), 1) << "source channel";
  const VelaTest::ParameterFields text =
      VelaTest::ParseParameterText(std::get<std::wstring>(items[kParameterTextItem]));
  EXPECT_EQ(VelaTest::Numbers(text.raw), (std::vector<double>{0.5, 1.0, 1.5}));
  EXPECT_EQ(VelaTest::Numbers(text.calibrated), (std::vector<double>{10.0, 20.0, 30.0}));

  const auto messages = document_->DisplayRanges();
  ASSERT_EQ(messages.size(), 1u);
  EXPECT_EQ(document_->Received().size(), 1u);
  EXPECT_EQ(std::int32_t{messages[0].code}, 817);
  EXPECT_EQ(std::int32_t{messages[0].channel}, 1);
  EXPECT_EQ(double{messages[0].top}, 32000.0);
  EXPECT_EQ(double{messages[0].bottom}, -32000.0);
}

TEST_F(EditSettingsTest, NullOutOrDocumentIsRefusedWithoutADialog) {
  GuiDriver::ModalAnswerer answerer(2000ms);
  Host::IPersistObject* out = nullptr;
  EXPECT_EQ(calcClass_->EditSettings(nullptr, nullptr, nullptr, nullptr, 0, nullptr, &out),
            E_INVALIDARG);
  EXPECT_EQ(Edit(0, nullptr, nullptr), E_INVALIDARG);
  EXPECT_EQ(out, nullptr);
  EXPECT_TRUE(answerer.Seen().empty());
}

} // namespace
