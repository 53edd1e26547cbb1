// The services manager: the service rows of both service lists, starting, stopping and
// reconfiguring a service, and the states of the tool window's four service buttons.
#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <utility>
#include <vector>

#include "common/views.h"
#include "platform/platform.h"

namespace morvanta::inspect {

// What a row of a service list holds: a service read completely, one whose service or
// configuration could not be read, or a notice row standing in for the whole list.
enum class ServiceRowKind {
  Service,
  CannotOpen,            // "Can not open service!"
  CannotGetInformation,  // "Can not get information!"
  CannotQuery,           // "Can not query information!", with the key name
  NotOnThisSystem,       // the notice "For Windows NT/2000/XP only!"
  ListFailed,            // the notice "Can not get Service List!"
};

enum class ServiceRunState { Unknown, Running, Stopped, Paused };

// One row of a service list, as typed state; the windows and the reports render the cells.
struct ServiceRow {
  ServiceRowKind kind = ServiceRowKind::Service;
  std::string displayName;  // the caption; empty for the notice rows
  std::string imagePath;    // as configured
  std::string keyName;      // the name the Service Control Manager knows; empty when unknown
  ServiceRunState state = ServiceRunState::Unknown;
  platform::StartType startType = platform::StartType::Manual;
  bool nonMicrosoft = false;  // the tool window shows image 6 instead of 3

  // The status and start-type cells hold something, and the buttons may act on the row.
  bool IsComplete() const { return kind == ServiceRowKind::Service; }
};

// The service list, or the notice row that stands in for it.
struct ServiceListing {
  std::vector<ServiceRow> rows;
  bool listEnabled = true;  // false on the Windows 9x family
};

// The texts of a row's "Path", "Status" and "StartupType" cells. `listFailedText` is the
// text of the ListFailed notice ("Can not get Service List!", catalogue entry 111).
std::string PathCellText(const ServiceRow& row, const std::string& listFailedText);
std::string StateText(ServiceRunState state);
std::string StatusCellText(const ServiceRow& row);
std::string StartTypeCellText(const ServiceRow& row);

// The enumeration buffer of the listing.
constexpr size_t kServiceListBufferBytes = 147492;
// A start or stop waits at most this long (by the system clock) for the final state; a
// service still pending then counts as not started or not stopped.
constexpr uint32_t kServiceWaitBoundMs = 30000;
// A zero wait hint is polled at this interval, so the bound is reached.
constexpr uint32_t kServiceMinPollMs = 100;

// The service whose controls the tool window never enables.
extern const char* const kProtectedServiceCaption;

// "Automatic" for every code but 3 ("Manual") and 4 ("Disabled").
std::string StartTypeText(platform::StartType type);
// The code of a menu text "Automatic", "Manual" or "Disabled" (with or without "&").
std::optional<platform::StartType> StartTypeFromText(const std::string& text);

// The image file of an image path. Variant A (`appendExe`) appends ".exe" when cutting at a
// blank; variant B does not.
std::string ServiceImageFile(const std::string& imagePath, bool appendExe);

// The version strings of a file in their fixed order, as (key, value), up to the first key
// the resource lacks; empty values left out. Empty for a missing file or resource.
std::vector<std::pair<std::string, std::string>> ReadVersionStrings(platform::Platform& p,
                                                                    const std::string& path);
// The image file's "LegalCopyright" lacks "Microsoft Corp".
bool IsNonMicrosoftImage(platform::Platform& p, const std::string& imagePath);

// Lists the Win32 services in enumeration order, letting pending messages through before
// each; nothing when the manager cannot be opened.
std::optional<std::vector<ServiceRow>> ListServices(platform::Platform& p,
                                                    common::MessagePump& pump);

// The refresh of a service list: the 9x notice, the listing, or the ListFailed notice.
ServiceListing LoadServiceListing(platform::Platform& p, common::MessagePump& pump);

// Start or stop and wait for the final state (at most kServiceWaitBoundMs).
bool StartServiceAndWait(platform::Platform& p, const std::string& keyName);
bool StopServiceAndWait(platform::Platform& p, const std::string& keyName);
bool SetServiceStartType(platform::Platform& p, const std::string& keyName,
                         platform::StartType type);
// The key name of a display name; empty when unknown.
std::string ServiceKeyNameOf(platform::Platform& p, const std::string& displayName);

// The button operations on one row: the row takes the new state on success and keeps the
// old one on failure. Rows that were not read completely are left alone (false).
bool StartServiceRow(platform::Platform& p, ServiceRow& row);
bool StopServiceRow(platform::Platform& p, ServiceRow& row);
// Stop, then start; a failed stop does not prevent the start. The result is the start's.
bool RestartServiceRow(platform::Platform& p, ServiceRow& row);
bool SetStartTypeRow(platform::Platform& p, ServiceRow& row, platform::StartType type);

// Stops the first row's service whose image path begins with `pathPrefix` (ignoring case),
// letting pending messages through before each row; on success that row is Stopped. A
// failed stop goes on with the next row. An empty prefix names no service.
bool StopServiceByImagePath(platform::Platform& p, std::vector<ServiceRow>& rows,
                            const std::string& pathPrefix, common::MessagePump& pump);

// The tool window's four service buttons.
struct ServiceButtons {
  bool start = false;
  bool stop = false;
  bool restart = false;
  bool startupMode = false;
  bool operator==(const ServiceButtons& o) const {
    return start == o.start && stop == o.stop && restart == o.restart &&
           startupMode == o.startupMode;
  }
};
ServiceButtons ChangeCmdStatus(bool enable, const ServiceRow* row);

}  // namespace morvanta::inspect
