#include "engine/engine.h"

#include <gtest/gtest.h>

#include <functional>
#include <string>
#include <utility>
#include <vector>

#include "support/test_window.h"

namespace {

typedef std::vector<std::string> Calls;
// Every call the engine makes on a probe, in order.
Calls calls;

Calls takeCalls() { return std::exchange(calls, Calls()); }

class Probe : public State {
 public:
  explicit Probe(std::string name, std::function<void()> onUpdate = nullptr)
      : name(std::move(name)), onUpdate(std::move(onUpdate)) {}
  ~Probe() override { calls.push_back("delete " + name); }
  void update(InputMap*, float seconds) override {
    calls.push_back("update " + name);
    lastSeconds = seconds;
    if (onUpdate) onUpdate();
  }
  void draw(RenderQueue*) override { calls.push_back("draw " + name); }

  std::string name;
  std::function<void()> onUpdate;
  float lastSeconds = -1;
};

class EngineTest : public testing::Test {
 protected:
  void SetUp() override {
    openTestWindow();  // runFrame paints into it
    useFakeClock(1000);
  }
};

TEST_F(EngineTest, FrameRunsOnlyOnceEightMillisecondsHavePassed) {
  Probe* top = new Probe("A");
  stateStack->push_back(top);
  lastTick = 993;

  runFrame();
  EXPECT_TRUE(takeCalls().empty());
  EXPECT_EQ(fakeTime(), 1001u) << "a pass that is not due sleeps 1 ms";
  EXPECT_EQ(lastTick, 993u);

  runFrame();
  EXPECT_EQ(takeCalls(), (Calls{"update A", "draw A"}));
  EXPECT_EQ(lastTick, 1001u);
  EXPECT_FLOAT_EQ(top->lastSeconds, 0.008f);
}

TEST_F(EngineTest, StackChangesWaitForTheNextFramePopsFirst) {
  Probe* d = new Probe("D");
  stateStack->push_back(new Probe("A"));
  stateStack->push_back(new Probe("B"));
  stateStack->push_back(new Probe("C", [d] {
    popStates(2);
    pushState(d);
  }));

  updateStates(0.008f);
  EXPECT_EQ(takeCalls(), (Calls{"update C"}));
  updateStates(0.008f);
  EXPECT_EQ(takeCalls(), (Calls{"delete C", "delete B", "update D"}));

  // A second request replaces the first: one pop, not three.
  popStates(2);
  popStates(1);
  pushState(new Probe("E"));
  updateStates(0.008f);
  EXPECT_EQ(takeCalls(), (Calls{"delete D", "update E"}));

  drawStates();
  EXPECT_EQ(takeCalls(), (Calls{"draw A", "draw E"}));
}

TEST_F(EngineTest, DisplacedPushesAndOverlongPopsAreSafe) {
  updateStates(0.008f);
  drawStates();
  EXPECT_TRUE(takeCalls().empty());

  Probe* y = new Probe("Y");
  stateStack->push_back(new Probe("A"));
  pushState(new Probe("X"));
  pushState(y);
  pushState(y);  // the same state again must survive
  EXPECT_EQ(takeCalls(), (Calls{"delete X"}));

  popStates(3);
  updateStates(0.008f);
  EXPECT_EQ(takeCalls(), (Calls{"delete A", "update Y"}));
  // Pops left over would eat the next push.
  updateStates(0.008f);
  EXPECT_EQ(takeCalls(), (Calls{"update Y"}));
  EXPECT_EQ(*stateStack, StateStack{y});
}

void pushKey(Uint8 type, SDLKey sym) {
  SDL_Event key = {};
  key.type = type;
  key.key.keysym.sym = sym;
  SDL_PushEvent(&key);
}

TEST_F(EngineTest, KeysReachTheInputMapByName) {
  pushKey(SDL_KEYDOWN, SDLK_UP);
  pushKey(SDL_KEYDOWN, SDLK_w);
  runFrame();
  EXPECT_TRUE((*inputMap)["up"]);
  // Either key of a name releases it, even while the other is held.
  pushKey(SDL_KEYUP, SDLK_w);
  runFrame();
  EXPECT_FALSE((*inputMap)["up"]);
  pushKey(SDL_KEYDOWN, SDLK_w);
  pushKey(SDL_KEYUP, SDLK_UP);
  runFrame();
  EXPECT_FALSE((*inputMap)["up"]);

  const InputMap before = *inputMap;
  pushKey(SDL_KEYDOWN, SDLK_F5);
  runFrame();
  EXPECT_EQ(*inputMap, before);
}

}  // namespace
