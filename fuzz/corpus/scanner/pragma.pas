{.F- off}
begin {.f+}
{.F-}(*.F-*)
