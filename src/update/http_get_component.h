// `THTTPGet`: one transfer at a time into a file, on a worker thread of its own, with its
// progress and its end told on the user interface thread. A waiting start keeps the
// window's messages flowing until the end has been told.
#pragma once

#include <cstdint>
#include <functional>
#include <memory>
#include <string>
#include <thread>

#include "common/ui_tasks.h"
#include "common/views.h"
#include "platform/files.h"
#include "platform/internet.h"
#include "update/http_get.h"

namespace morvanta::update {

class THTTPGet {
 public:
  using ProgressEvent = std::function<void(THTTPGet& sender, uint64_t TotalSize, uint64_t Readed)>;
  using DoneFileEvent =
      std::function<void(THTTPGet& sender, const std::string& FileName, uint64_t FileSize)>;
  using ErrorEvent = std::function<void(THTTPGet& sender)>;

  // The events run on the thread that runs `tasks`; `pump` lets the window's messages
  // through while a waiting start waits.
  THTTPGet(platform::Internet& internet, platform::Files& files, common::UiTasks& tasks,
           common::MessagePump& pump);
  // Cancels a running transfer and waits for its worker to end; no event follows.
  ~THTTPGet();
  THTTPGet(const THTTPGet&) = delete;
  THTTPGet& operator=(const THTTPGet&) = delete;

  HttpGetProperties properties;
  // The file must carry the maker's signature at the same address + ".sig"; a file
  // without it, or with another, is deleted and the transfer fails.
  bool Signed = false;

  ProgressEvent OnProgress;
  DoneFileEvent OnDoneFile;
  ErrorEvent OnError;

  // Does nothing while a transfer of this instance runs.
  void StartDownload();
  // Asks the worker to stop; the end is told as a failure.
  void CancelDownload();
  bool Busy() const { return running_ != nullptr; }

 private:
  struct Transfer;
  void Complete(const std::shared_ptr<Transfer>& transfer);

  platform::Internet& internet_;
  platform::Files& files_;
  common::UiTasks& tasks_;
  common::MessagePump& pump_;
  std::shared_ptr<Transfer> running_;
  std::thread worker_;
  bool success_ = false;
};

// The worker's run with the signature rule: the file, then its signature into
// FileName + ".sig" (deleted afterwards); a failed or unsigned transfer leaves no file.
HttpTransferResult RunSignedTransfer(platform::Internet& internet, platform::Files& files,
                                     const HttpGetProperties& properties,
                                     const HttpProgress& progress,
                                     const std::atomic<bool>* stop);

}  // namespace morvanta::update
