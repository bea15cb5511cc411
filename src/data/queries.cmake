# Sources of this area: target_sources(<library> PRIVATE ...).
