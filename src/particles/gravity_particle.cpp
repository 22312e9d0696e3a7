// GravityParticle: the particle of the four fountains.
#include "particles/gravity_particle.h"

#include <cstdlib>

namespace {

constexpr int kRandomSteps = 400;          // burn rate and life are drawn from 0 to 399 ...
constexpr double kBurnRateStep = 0.00005;  // ... burn rate 0.04 to 0.05995
constexpr double kBurnRateBase = 0.04;
constexpr int kLifeCentre = 200;  // life 0.25 to 1.2475 in steps of 0.0025
constexpr double kLifeDivisor = 400.0;
constexpr double kLifeBase = 0.75;
constexpr int kColorSteps = 100;  // colour components are k / 100
constexpr double kColorDivisor = 100.0;
constexpr double kGravityStep = 0.0005;  // the pull grows by this every run of a life

}  // namespace

void GravityParticle::LocationInit() {
  for (int i = 0; i < 3; ++i) Location[i] = kFountainSpawn[i];
}

void GravityParticle::ColorBurnInit() {
  BurnRate = static_cast<float>((rand() % kRandomSteps) * kBurnRateStep + kBurnRateBase);
  Life = static_cast<float>(((rand() % kRandomSteps) - kLifeCentre) / kLifeDivisor + kLifeBase);
  for (float& c : Color) c = static_cast<float>((rand() % kColorSteps) / kColorDivisor);
}

void GravityParticle::AddGrav() {
  Acc[1] = static_cast<float>(Acc[1] - kGravityStep);
}

void GravityParticle::Run() {
  if (Life <= 0) {
    LocationInit();
    SpeedInit();
    AccInit();
    ColorBurnInit();
  }
  AddGrav();
  Burn();
  AddAcceleration();
  AddVelocity();
  Draw();
}
