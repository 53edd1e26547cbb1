// `THTTPGet` on the made-up network: the worker's progress and end told only when the
// interface thread runs its tasks, one transfer at a time, the waiting start, cancelling,
// the signature rule, and an instance destroyed while its worker runs.
#include <gtest/gtest.h>

#include <algorithm>
#include <chrono>
#include <functional>
#include <memory>
#include <string>
#include <vector>

#include "common/memory_views.h"
#include "common/ui_tasks.h"
#include "signed_site.h"
#include "update/http_get_component.h"

namespace morvanta::update {
namespace {

using namespace update_testing;

class HttpGetComponent : public SignedSite {
 public:
  void SetUp() override {
    SignedSite::SetUp();
    get = std::make_unique<THTTPGet>(fake.internet, fake.files, tasks, pump);
    get->properties.URL = "http://" + kHost + "/data/body.htm";
    get->properties.FileName = kFolder + "body.dat";
    get->OnProgress = [this](THTTPGet&, uint64_t total, uint64_t readed) {
      events.push_back("progress " + std::to_string(readed) + "/" + std::to_string(total));
    };
    get->OnDoneFile = [this](THTTPGet&, const std::string& name, uint64_t size) {
      events.push_back("done " + name + " " + std::to_string(size));
    };
    get->OnError = [this](THTTPGet&) { events.push_back("error"); };
  }

  // Runs the interface thread's tasks until the instance is idle (bounded, so a fault
  // fails the case instead of hanging the run).
  void RunUntilIdle() {
    for (int i = 0; i < 2000 && get->Busy(); ++i) {
      tasks.WaitForTask(std::chrono::milliseconds(10));
      tasks.RunPending();
    }
    ASSERT_FALSE(get->Busy());
  }

  common::UiTasks tasks;
  common::CountingPump pump;
  std::unique_ptr<THTTPGet> get;
  std::vector<std::string> events;
  const std::string body = std::string(10000, 'b');  // three blocks
};

TEST_F(HttpGetComponent, ProgressPerBlockThenTheEndOnTheInterfaceThread) {
  Serve("/data/body.htm", AsBytes(body));
  get->StartDownload();
  EXPECT_TRUE(get->Busy());
  EXPECT_TRUE(events.empty());  // nothing is told before the interface thread runs its tasks
  get->StartDownload();         // busy: ignored
  RunUntilIdle();
  const std::vector<std::string> expected = {"progress 4097/10000", "progress 8194/10000",
                                             "progress 10000/10000",
                                             "done " + kFolder + "body.dat 10000"};
  EXPECT_EQ(events, expected);
  EXPECT_EQ(fake.internet.Requests().size(), 1u);  // the second start fetched nothing
  EXPECT_EQ(fake.files.ReadAll(kFolder + "body.dat"), AsBytes(body));
}

TEST_F(HttpGetComponent, AWaitingStartReturnsOnceItsEndWasToldAndKeepsMessagesFlowing) {
  Serve("/data/body.htm", AsBytes(body));
  get->properties.WaitThread = true;
  get->StartDownload();
  EXPECT_FALSE(get->Busy());
  ASSERT_EQ(events.size(), 4u);
  EXPECT_EQ(events.back(), "done " + kFolder + "body.dat 10000");
  EXPECT_GT(pump.calls, 0u);
}

TEST_F(HttpGetComponent, AStartFromItsOwnEndHandlerIsIgnored) {
  Serve("/data/body.htm", AsBytes(body));
  get->OnDoneFile = [this](THTTPGet& sender, const std::string&, uint64_t) {
    events.push_back("done");
    sender.StartDownload();
  };
  get->StartDownload();
  RunUntilIdle();
  tasks.WaitForTask(std::chrono::milliseconds(50));
  tasks.RunPending();
  EXPECT_EQ(std::count(events.begin(), events.end(), "done"), 1);
  EXPECT_FALSE(get->Busy());
}

TEST_F(HttpGetComponent, FailuresAreToldAsErrors) {
  struct Case {
    const char* name;
    std::function<void(HttpGetComponent&)> arrange;
    bool fileLeft;
  };
  const Case cases[] = {
      {"an error page", [](HttpGetComponent& t) {
         platform::fake::FakeInternet::Resource page{"not here", true, std::nullopt, 404};
         t.fake.internet.Put(kHost, "/data/body.htm", page);
       }, false},
      {"a binary transfer without a length", [](HttpGetComponent& t) {
         t.get->properties.BinaryData = true;
         t.fake.internet.Put(kHost, "/data/body.htm",
                             platform::fake::FakeInternet::Resource{t.body, false, std::nullopt, 200});
       }, false},
      {"an answer cut short", [](HttpGetComponent& t) {
         t.fake.internet.Put(kHost, "/data/body.htm",
                             platform::fake::FakeInternet::Resource{t.body, true, 20000, 200});
       }, true},
      {"a signed transfer without a signature", [](HttpGetComponent& t) {
         t.get->Signed = true;
         t.fake.internet.Put(kHost, "/data/body.htm", t.body);
       }, false},
      {"a signed transfer signed by another", [](HttpGetComponent& t) {
         t.get->Signed = true;
         t.Serve("/data/body.htm", AsBytes(t.body), false);
       }, false},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    SetUp();
    c.arrange(*this);
    get->OnProgress = nullptr;
    get->StartDownload();
    RunUntilIdle();
    EXPECT_EQ(events, std::vector<std::string>{"error"});
    EXPECT_EQ(fake.files.Exists(kFolder + "body.dat"), c.fileLeft);
    EXPECT_FALSE(fake.files.Exists(kFolder + "body.dat.sig"));
    events.clear();
  }
}

TEST_F(HttpGetComponent, ASignedTransferKeepsTheFileAndNotItsSignature) {
  Serve("/data/body.htm", AsBytes(body));
  get->Signed = true;
  get->OnProgress = nullptr;
  get->StartDownload();
  RunUntilIdle();
  EXPECT_EQ(events, std::vector<std::string>{"done " + kFolder + "body.dat 10000"});
  EXPECT_FALSE(fake.files.Exists(kFolder + "body.dat.sig"));
}

TEST_F(HttpGetComponent, ACancelledTransferEndsWithAnErrorAndLeavesNoSignedFile) {
  Serve("/data/body.htm", AsBytes(body));
  get->Signed = true;
  // Cancelled at its first block: the worker waits for the handler to return.
  get->OnProgress = [this](THTTPGet& sender, uint64_t, uint64_t) {
    events.push_back("progress");
    sender.CancelDownload();
  };
  get->StartDownload();
  RunUntilIdle();
  EXPECT_EQ(events, (std::vector<std::string>{"progress", "error"}));
  EXPECT_FALSE(fake.files.Exists(kFolder + "body.dat"));
}

TEST_F(HttpGetComponent, AnInstanceDestroyedWhileItsWorkerWaitsTellsNothing) {
  Serve("/data/body.htm", AsBytes(body));
  get->StartDownload();
  // The worker now waits for its first progress to be told; the task stays queued.
  ASSERT_TRUE(tasks.WaitForTask(std::chrono::seconds(10)));
  get.reset();
  tasks.RunPending();
  tasks.RunPending();
  EXPECT_TRUE(events.empty());
}

}  // namespace
}  // namespace morvanta::update
