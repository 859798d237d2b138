#pragma once
// The printer the program prints on, one for the whole run: the default
// CUPS printer at start, or a PDF writer when no printer is installed. Its
// set-up dialog changes it for every later job.
class QPrinter;

QPrinter &CurrentPrinter();
