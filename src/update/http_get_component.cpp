#include "update/http_get_component.h"

#include <atomic>
#include <chrono>
#include <condition_variable>
#include <mutex>
#include <utility>

#include "update/signature.h"
#include "update/update_list.h"

namespace morvanta::update {

// What the worker and the interface thread share. Tasks posted by the worker hold it, so a
// task that runs after its instance is gone finds `owner` cleared and does nothing.
struct THTTPGet::Transfer {
  HttpGetProperties properties;
  bool isSigned = false;
  bool reportsProgress = false;
  std::atomic<bool> stop{false};
  THTTPGet* owner = nullptr;  // read and cleared on the interface thread only
  HttpTransferResult result;  // written by the worker before its last post

  // The worker waits for each progress event to return, as the window handles it.
  std::mutex mutex;
  std::condition_variable told;
  uint64_t progressTold = 0;
};

THTTPGet::THTTPGet(platform::Internet& internet, platform::Files& files, common::UiTasks& tasks,
                   common::MessagePump& pump)
    : internet_(internet), files_(files), tasks_(tasks), pump_(pump) {
  properties.Agent = HttpGetProperties().Agent;
}

THTTPGet::~THTTPGet() {
  if (running_) {
    running_->owner = nullptr;
    {
      std::lock_guard<std::mutex> lock(running_->mutex);
      running_->stop = true;
    }
    running_->told.notify_all();
  }
  if (worker_.joinable()) worker_.join();
}

void THTTPGet::StartDownload() {
  if (running_) return;
  auto transfer = std::make_shared<Transfer>();
  transfer->properties = properties;
  transfer->isSigned = Signed;
  transfer->reportsProgress = static_cast<bool>(OnProgress);
  transfer->owner = this;
  running_ = transfer;
  if (worker_.joinable()) worker_.join();  // the last worker has already told its end
  common::UiTasks& tasks = tasks_;
  platform::Internet& internet = internet_;
  platform::Files& files = files_;
  worker_ = std::thread([transfer, &tasks, &internet, &files] {
    uint64_t posted = 0;
    const HttpProgress progress = [&](uint64_t total, uint64_t readed) {
      if (!transfer->reportsProgress) return;
      const uint64_t number = ++posted;
      tasks.Post([transfer, total, readed, number] {
        if (THTTPGet* owner = transfer->owner; owner && owner->OnProgress)
          owner->OnProgress(*owner, total, readed);
        {
          std::lock_guard<std::mutex> lock(transfer->mutex);
          transfer->progressTold = number;
        }
        transfer->told.notify_all();
      });
      std::unique_lock<std::mutex> lock(transfer->mutex);
      transfer->told.wait(lock, [&] { return transfer->progressTold >= number || transfer->stop; });
    };
    try {
      transfer->result =
          transfer->isSigned
              ? RunSignedTransfer(internet, files, transfer->properties, progress, &transfer->stop)
              : RunHttpTransfer(internet, files, transfer->properties, progress, &transfer->stop);
    } catch (...) {
      // Ends the run quietly; the result keeps what it had.
    }
    tasks.Post([transfer] {
      if (THTTPGet* owner = transfer->owner) owner->Complete(transfer);
    });
  });
  if (!properties.WaitThread) return;
  while (running_ == transfer) {
    pump_.ProcessPendingMessages();
    tasks_.RunPending();
    if (running_ == transfer) tasks_.WaitForTask(std::chrono::milliseconds(10));
  }
}

void THTTPGet::CancelDownload() {
  if (!running_) return;
  {
    std::lock_guard<std::mutex> lock(running_->mutex);
    running_->stop = true;
  }
  running_->told.notify_all();
  success_ = false;
}

void THTTPGet::Complete(const std::shared_ptr<Transfer>& transfer) {
  if (running_ != transfer) return;
  success_ = transfer->result.success && !transfer->stop;
  // The instance stays busy until its handler has returned: a start from inside the
  // handler is ignored.
  if (success_) {
    if (OnDoneFile) OnDoneFile(*this, transfer->properties.FileName, transfer->result.totalSize);
  } else if (OnError) {
    OnError(*this);
  }
  if (running_ == transfer) running_.reset();
}

HttpTransferResult RunSignedTransfer(platform::Internet& internet, platform::Files& files,
                                     const HttpGetProperties& properties,
                                     const HttpProgress& progress,
                                     const std::atomic<bool>* stop) {
  HttpTransferResult result = RunHttpTransfer(internet, files, properties, progress, stop);
  if (!result.success) {
    files.DeleteFile(properties.FileName);
    return result;
  }
  HttpGetProperties signature = properties;
  signature.URL = properties.URL + kSignatureSuffix;
  signature.FileName = properties.FileName + kSignatureSuffix;
  signature.BinaryData = true;
  const bool fetched = RunHttpTransfer(internet, files, signature, {}, stop).success;
  const auto sig = fetched ? files.ReadAll(signature.FileName) : std::nullopt;
  files.DeleteFile(signature.FileName);
  const auto body = sig ? files.ReadAll(properties.FileName) : std::nullopt;
  if (!body || !VerifyUpdateSignature(body->data(), body->size(), sig->data(), sig->size())) {
    files.DeleteFile(properties.FileName);
    result.success = false;
  }
  return result;
}

}  // namespace morvanta::update
