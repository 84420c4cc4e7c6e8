#include "plotting/win/SetRangeDlg.h"

#include "foundation/BasicFormatStream.h"
#include "foundation/ModuleStrings.h"
#include "foundation/win/ResourceStrings.h"
#include "plotting/GraphStrings.h"
#include "plotting/RangeCheck.h"
#include "plotting/win/Graph2D.h"
#include "window/win/MessageBox.h"

#include <sstream>

namespace GUILib {

namespace {

const std::wstring& HostText(unsigned id) {
  // Read once per process from the host's executable.
  static const std::wstring outside =
      Tarn::LoadResourceString(nullptr, kRangeOutsideLimitsMessage).str();
  static const std::wstring narrow =
      Tarn::LoadResourceString(nullptr, kRangeTooNarrowMessage).str();
  return id == kRangeOutsideLimitsMessage ? outside : narrow;
}

} // namespace

std::wstring RangeMessage(unsigned messageId, const double* values, std::size_t count) {
  std::wstringbuf text;
  Tarn::BasicFormatStream stream(HostText(messageId), text);
  for (std::size_t i = 0; i < count; ++i)
    stream << values[i];
  stream.finish();
  return text.str();
}

SetRangeDlg::SetRangeDlg(CGraph2D& graph)
    : Dialog({MAKEINTRESOURCEW(kResource), 0, nullptr}), graph_(graph) {}

bool SetRangeDlg::OnInitDialog() {
  const int ids[4] = {kTop, kBottom, kRight, kLeft};
  for (std::size_t i = 0; i < edits_.size(); ++i)
    edits_[i].Attach(hwnd(), ids[i]);
  const AxisRange vertical = graph_.VerticalScale().GetRange();
  const AxisRange horizontal = graph_.HorizontalScale().GetRange();
  edits_[0].SetValue(vertical.high);
  edits_[1].SetValue(vertical.low);
  edits_[2].SetValue(horizontal.high);
  edits_[3].SetValue(horizontal.low);
  const auto [horizontalUnits, verticalUnits] = graph_.AxisUnits();
  ::SetDlgItemTextW(hwnd(), 124, verticalUnits.c_str());
  ::SetDlgItemTextW(hwnd(), 125, verticalUnits.c_str());
  ::SetDlgItemTextW(hwnd(), 126, horizontalUnits.c_str());
  ::SetDlgItemTextW(hwnd(), 127, horizontalUnits.c_str());
  return true;
}

bool SetRangeDlg::CanClose() {
  const AxisRange vertical{edits_[0].GetValue(), edits_[1].GetValue()};
  const AxisRange horizontal{edits_[2].GetValue(), edits_[3].GetValue()};
  const TypedRangesOutcome outcome = graph_.ApplyTypedRanges(horizontal, vertical);
  for (const RangeProblem& problem : outcome.problems) {
    const int caption =
        problem.axis == ScaleAxis::Horizontal ? kHorizontalRangeString : kVerticalRangeString;
    (void)Tarn::Window::ShowMessageBox(hwnd(),
                                       RangeMessage(problem.check.messageId,
                                                    problem.check.values.data(),
                                                    problem.check.valueCount),
                                       Tarn::ModuleString(caption), MB_OK | MB_ICONSTOP);
  }
  return outcome.accepted;
}

} // namespace GUILib
