#pragma once
// Which vector instruction sets the processor offers, asked once per process.
// Setting BASICFILTERS_PORTABLE=1 in the environment makes every filter run its
// portable loops, which define the results.

bool PortableCodeForced();
bool CpuHasSse2();
bool CpuHasAvx2();
