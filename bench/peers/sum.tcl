# Peer of `0 N "+" FOR`: sums 1..N in a proc.
proc sum {n} {
  set s 0
  for {set i 1} {$i <= $n} {incr i} { incr s $i }
  return $s
}
puts [sum [lindex $argv 0]]
