// MotherParticle: the base particle and the steps every particle's frame is made of.
#include "particles/mother_particle.h"

#include <cstdlib>

namespace {

constexpr int kSpeedSteps = 400;           // speed magnitudes are drawn from 0 to 399 ...
constexpr double kSpeedDivisor = 12800.0;  // ... in units of 1/12800
constexpr int kColorSteps = 100;           // colour components are k / 100, k from 0 to 99
constexpr double kColorDivisor = 100.0;
constexpr float kMotherLife = 0.75f;  // a base particle always lives 15 runs
constexpr float kMotherBurnRate = 0.05f;

}  // namespace

MotherParticle::MotherParticle()
    : List(glGenLists(1)),
      Color{0, 0, 0},
      StartLocation{-1.5f, -1.5f, 0},
      Location{0, 0, 0},
      Speed{0, 0, 0},
      Acc{0, 0, 0},
      Life(0),  // spent: the first Run respawns the particle
      BurnRate(0) {
  glNewList(List, GL_COMPILE);
  glBegin(GL_TRIANGLE_STRIP);
  glVertex3f(kParticleQuadHalfSide, kParticleQuadHalfSide, 0);
  glVertex3f(-kParticleQuadHalfSide, kParticleQuadHalfSide, 0);
  glVertex3f(kParticleQuadHalfSide, -kParticleQuadHalfSide, 0);
  glVertex3f(-kParticleQuadHalfSide, -kParticleQuadHalfSide, 0);
  glEnd();
  glEndList();
}

void MotherParticle::LocationInit() {
  for (int i = 0; i < 3; ++i) Location[i] = StartLocation[i];
}

void MotherParticle::SpeedInit() {
  for (int i = 0; i < 3; ++i) {
    const int sign = rand();
    const int magnitude = rand() % kSpeedSteps;
    Speed[i] =
        static_cast<float>((sign & 1) ? magnitude / kSpeedDivisor : magnitude / -kSpeedDivisor);
  }
}

void MotherParticle::AccInit() {
  for (float& a : Acc) a = 0;
}

void MotherParticle::ColorBurnInit() {
  BurnRate = kMotherBurnRate;
  Life = kMotherLife;
  for (float& c : Color) c = static_cast<float>((rand() % kColorSteps) / kColorDivisor);
}

void MotherParticle::Burn() {
  Life = Life - BurnRate;
}

void MotherParticle::AddAcceleration() {
  for (int i = 0; i < 3; ++i) Speed[i] = Speed[i] + Acc[i];
}

void MotherParticle::AddVelocity() {
  for (int i = 0; i < 3; ++i) Location[i] = Location[i] + Speed[i];
}

void MotherParticle::Draw() {
  glPushMatrix();
  glTranslatef(Location[0], Location[1], Location[2] - kParticleDepth);
  glScalef(kParticleScale, kParticleScale, kParticleScale);
  glColor4f(Color[0], Color[1], Color[2], Life);
  glCallList(List);
  glPopMatrix();
}

void MotherParticle::Run() {
  if (Life <= 0) {
    LocationInit();
    SpeedInit();
    AccInit();
    ColorBurnInit();
  }
  Burn();
  AddAcceleration();
  AddVelocity();
  Draw();
}
