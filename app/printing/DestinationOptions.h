// The print options a job takes from its destination, as CUPS's own clients take them: libcups gives a
// destination's options with the queue's defaults (its *-default attributes, which follow the PPD's own
// defaults), the user's lpoptions and the instance's over them; PPD option names among them (Duplex,
// PageSize, PageRegion, InputSlot) are read as the IPP options they stand for, over the queue's defaults.
// Values that change nothing (one-sided, one copy) are left out, so that a job without options anywhere
// prints as it always has. Colour is Kestrova's choice, not the printer's: a queue's colour default counts
// for its instances, whose lpoptions leave out a value equal to the queue's, and a plain queue prints in gray
// unless an lpoptions file asks for colour.
#pragma once

#include "app/options/PrintOptions.h"

// Destination: the destination's options as libcups gives them; Chosen: those the lpoptions files give the
// queue and the instance; Instance: whether the destination is a CUPS instance.
TOptionValues DestinationOptions(const TOptionValues& Destination, const TOptionValues& Chosen,
                                 bool Instance);

// The job options among Destination's that Kestrova does not carry out (number-up, page-set and the like),
// with a value that would change the sheets: each is left out of the job, and the run log says so.
TOptionValues UnappliedOptions(const TOptionValues& Destination);
