// Registers the skin engine's component classes so that form data can hold them.
#pragma once

void RegisterSkinClasses();
