// Never built: a target whose include directories the Layers tests read.
