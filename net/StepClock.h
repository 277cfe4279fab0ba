#pragma once

namespace voidskirmish::net {

// How many fixed steps each drawn frame of a network match runs: as many as real time asks for, at most
// MOST_STEPS_PER_FRAME, so that a machine whose frames take long slows the match rather than falling ever
// further behind. Time beyond that, and time spent waiting for the other side, is let go: nothing is made up
// in a jump afterwards.
class StepClock {
 public:
  // Half a second, the longest frame a local game applies: steps cost far less than drawing.
  static constexpr int MOST_STEPS_PER_FRAME = 30;

  StepClock(double stepSeconds, double now) : step(stepSeconds), last(now) {}

  // The steps due at `now`; those the caller does not run (it waits, or slows for the other side) are gone.
  int due(double now);
  // Seconds from `now` until the next step is due.
  double untilNext(double now) const { return step - owed - (now - last); }

 private:
  double step;
  double last;
  double owed = 0.0;  // real time not yet run, less than a step once due() has taken its steps
};

}  // namespace voidskirmish::net
