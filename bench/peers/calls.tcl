# Peer of `0 N "DROP INC RUN" FOR`: a small proc called N times.
proc inc {x} { expr {$x + 1} }
proc work {n} {
  set s 0
  for {set i 1} {$i <= $n} {incr i} { set s [inc $s] }
  return $s
}
puts [work [lindex $argv 0]]
