#pragma once
#include <cstdint>
#include <string>
#include <vector>

#include "hostapi/HostInterfaces.h"

namespace Vela {

// What the host's objects received, kept for tests and for the host program's reports.

// One message handed to the dispatcher.
struct Delivery {
  std::uint32_t id = 0;
  std::uint32_t flags = 0;
  std::vector<std::uint8_t> payload;
  const void* target = nullptr; // identity only: the target is not kept
};

// What one host channel-calculation object received from its extension.
struct CalcRecord {
  int sourceCalls = 0;
  std::int32_t sourceFirst = 0;
  Host::SourceSpec source{};
  Host::OutputScaling scaling{};
  int parameterTextCalls = 0;
  std::wstring parameterText;
  int enumeratorCalls = 0;
  std::int32_t enumeratorChannel = 0;
  bool enumeratorHadCreator = false;
  bool enumeratorHadDataSource = false;
  bool enumeratorHadEnumerator = false;
};

// One call of the data source's channel-changed operation.
struct ChannelChange {
  std::int32_t channel = 0;
  std::uint32_t flags = 0;
  bool notifyAnswered = false; // the calc argument answered the notification identifier
};

// One output-unit request of an extension.
struct OutputUnitRequest {
  Host::OutputFieldBlock fields{};
  std::wstring unitName;
};

// One call of the channel information's slot 9.
struct OutputInfoNote {
  std::int32_t zero = 0;
  std::int32_t a = 0;
  const void* b = nullptr;
};

} // namespace Vela
