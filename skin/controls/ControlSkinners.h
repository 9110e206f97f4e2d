// The control skinners: one small class per kind of control, each on the
// control skinner base, each registered under its class name so that
// discovery can make it.
#pragma once

// Registers every control skinner kind that is built.
void RegisterControlSkinners();

// Registers the skin engine's components and its control skinners: what a
// program that holds a skin data component in its form data calls at start.
void RegisterSkinEngine();
